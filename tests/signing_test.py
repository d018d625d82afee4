"""Signs the built executable with scripts/sign.sh, with a key in a file and with a key on a SoftHSM
token, with and without a time stamp from a service on the loopback address, and checks the signed
copies.

Usage: signing_test.py OSSLSIGNCODE TOOL REAL_INPUTS_TOOL OBJDUMP GENERATED FIRMWARE CHANGE_LOG HANDLER_PROGRAM
OSSLSIGNCODE: "installed", or a folder whose osslsigncode is used instead; then the table test's
arguments, which it gets again with the signed copy as the tool.
"""
import hashlib
import http.server
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import threading
import unittest
from datetime import datetime, timedelta, timezone
from pathlib import Path

SOURCES = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(SOURCES / "tests/e2e"))
from signing import SIGNER, ThrowawayPki, openssl, run_sign_script, signed_with_a_key_file  # noqa: E402

SPC_SP_OPUS_INFO = "1.3.6.1.4.1.311.2.1.12"  # the signed attribute that holds a program name
SOFTHSM = "/usr/lib/softhsm/libsofthsm2.so"


def setUpModule():
    global folder, pki
    folder = Path(tempfile.mkdtemp(prefix="kq-signing-"))
    pki = ThrowawayPki(folder / "pki")


def tearDownModule():
    shutil.rmtree(folder, ignore_errors=True)


def run(*command, **options):
    return subprocess.run([*map(str, command)], env=ENV, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          text=True, **options)


def verify(exe):
    return run("osslsigncode", "verify", "-CAfile", pki.root, "-in", exe)


class LoopbackTimeStamps:
    """While its block runs, an RFC 3161 service on 127.0.0.1: openssl ts -reply behind an HTTP
    handler, its certificate issued by the throwaway root for the critical usage timeStamping."""

    def __init__(self, folder):
        self.folder, self.stamped = Path(folder), 0
        self.folder.mkdir()
        openssl("req", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-CA", pki.root, "-CAkey", pki.root_key,
                "-keyout", "tsa.key", "-out", "tsa.pem", "-subj", "/CN=KQ throwaway time stamps",
                "-addext", "extendedKeyUsage=critical,timeStamping", cwd=self.folder)
        (self.folder / "serial").write_text("01\n")
        (self.folder / "tsa.cnf").write_text("\n".join(("[tsa]", "default_tsa = loopback", "[loopback]", *(
            f"{key} = {self.folder / value}" for key, value in (("serial", "serial"), ("signer_cert", "tsa.pem"),
                                                                ("certs", "tsa.pem"), ("signer_key", "tsa.key"))),
            "signer_digest = sha256", "default_policy = 1.2.3.4.1", "digests = sha256", "ess_cert_id_alg = sha256")))

    def __enter__(self):
        service = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_POST(self):
                query = service.folder / "query.tsq"
                query.write_bytes(self.rfile.read(int(self.headers["Content-Length"])))
                reply = subprocess.run(["openssl", "ts", "-reply", "-config", service.folder / "tsa.cnf", "-queryfile",
                                        query], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, check=True).stdout
                service.stamped += 1
                self.send_response(200)
                self.send_header("Content-Type", "application/timestamp-reply")
                self.end_headers()
                self.wfile.write(reply)

        self.server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.url = f"http://127.0.0.1:{self.server.server_address[1]}"
        return self

    def __exit__(self, *exception):
        self.server.shutdown()
        self.server.server_close()


class KeyInAFile(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.done, cls.signed = signed_with_a_key_file(SOURCES / "scripts", TOOL, folder / "file", pki, ENV)
        assert cls.done.returncode == 0, cls.done.stderr

    def test_signature_verifies_and_the_script_says_what_it_signed_leaving_the_build_as_it_was(self):
        verified = verify(self.signed)
        self.assertEqual(verified.returncode, 0, verified.stdout)
        self.assertRegex(verified.stdout, r"Message digest algorithm\s*:\s*SHA256")
        self.assertIn(f"Signed by: /CN={SIGNER}/O=KQ test", self.done.stdout)
        self.assertIn(hashlib.sha256(self.signed.read_bytes()).hexdigest(), self.done.stdout)
        self.assertEqual((folder / "file/checkout/build/win/RU_ZadorazUdizav.exe").read_bytes(), TOOL.read_bytes())
        # What a release hands out: the signed file and, beside it, the guide the build made.
        self.assertEqual(self.signed.with_name("guide-ru.html").read_bytes(), TOOL.with_name("guide-ru.html").read_bytes())

    def test_sums_beside_the_signed_file_are_its_own_and_the_guides_and_sha256sum_checks_them(self):
        sums = self.signed.with_name("SHA256SUMS.txt")
        listed = {name: digest for digest, name in (line.split("  ", 1) for line in sums.read_text().splitlines())}
        self.assertEqual(set(listed), {self.signed.name, "guide-ru.html"})
        self.assertEqual(listed[self.signed.name], hashlib.sha256(self.signed.read_bytes()).hexdigest())
        self.assertNotEqual(listed[self.signed.name], hashlib.sha256(TOOL.read_bytes()).hexdigest())
        checked = run("sha256sum", "-c", sums.name, cwd=self.signed.parent)
        self.assertEqual(checked.returncode, 0, checked.stdout)
        self.assertEqual(checked.stdout.splitlines(), [f"{self.signed.name}: OK", "guide-ru.html: OK"])

    def test_signature_names_no_program(self):
        run("osslsigncode", "extract-signature", "-pem", "-in", self.signed, "-out", folder / "signature.pem")
        parsed = run("openssl", "asn1parse", "-in", folder / "signature.pem", check=True).stdout.splitlines()
        # A name is the first field, [0], of the attribute's SEQUENCE: three lines after its OID.
        at = next((i for i, line in enumerate(parsed) if line.rstrip().endswith(":" + SPC_SP_OPUS_INFO)), None)
        self.assertFalse(at is not None and "cont [ 0 ]" in parsed[at + 3], "a program name")

    def test_removing_the_signature_gives_back_the_unsigned_bytes(self):
        removed = folder / "signature-removed.exe"
        done = run("osslsigncode", "remove-signature", "-in", self.signed, "-out", removed)
        self.assertEqual(done.returncode, 0, done.stdout)
        self.assertEqual(hashlib.sha256(removed.read_bytes()).hexdigest(), hashlib.sha256(TOOL.read_bytes()).hexdigest())

    def test_table_test_holds_on_the_signed_file_checksum_and_payloads_included(self):
        tables = run(sys.executable, SOURCES / "tests/executable_tables_test.py", self.signed, *TABLE_ARGUMENTS[1:],
                     "ExecutableTables")
        self.assertEqual(tables.returncode, 0, tables.stdout)

    def test_a_byte_changed_inside_a_section_fails_verification(self):
        image = bytearray(self.signed.read_bytes())
        file_header = struct.unpack_from("<I", image, 0x3C)[0] + 4
        first_section = file_header + 20 + struct.unpack_from("<H", image, file_header + 16)[0]
        size, start = struct.unpack_from("<II", image, first_section + 16)
        image[start + size // 2] ^= 0x01
        (folder / "changed.exe").write_bytes(image)
        checked = verify(folder / "changed.exe")
        self.assertEqual((checked.returncode != 0, "MISMATCH" in checked.stdout), (True, True), checked.stdout)

    def test_refusals_name_the_step_and_the_reason_in_one_line_and_leave_no_signed_file(self):
        key = ("--pfx", pki.pfx, "--password-file", pki.password, "--allow-dirty", "--allow-stand-in")
        for case, exe, options, says in (
                ("no timestamp", TOOL, (*key, "--ca", pki.root), "give --timestamp URL, since without one"),
                ("no stamp's root", TOOL, (*key, "--timestamp", "http://127.0.0.1:9", "--ca", pki.root),
                 "--timestamp needs --tsa-ca ROOT"),
                ("no build", None, (*key, "--no-timestamp", "--ca", pki.root), "run scripts/build.sh first"),
                ("another root", TOOL, (*key, "--no-timestamp", "--ca", pki.other_root), "checking the signature"),
                ("stand-ins", TOOL, (*key[:-1], "--no-timestamp", "--ca", pki.root),
                 "carries stand-ins: Stand-in firmware")):
            # An older run's sums go too, once the options are understood.
            sums = folder / case / "checkout/build/win/signed/SHA256SUMS.txt"
            sums.parent.mkdir(parents=True)
            sums.write_text("an older run's\n")
            done, signed = run_sign_script(SOURCES / "scripts", exe, folder / case, *options, env=ENV)
            self.assertEqual((done.returncode, len(done.stderr.splitlines()), signed.exists()), (1, 1, False), case)
            self.assertIn(says, done.stderr)
            self.assertEqual(sums.exists(), "reading the options failed" in done.stderr, case)


class KeyOnAToken(unittest.TestCase):
    def test_key_imported_into_a_softhsm_token_signs_and_the_signature_verifies(self):
        token = folder / "token"
        (token / "objects").mkdir(parents=True)
        (token / "softhsm2.conf").write_text(f"directories.tokendir = {token / 'objects'}\n")
        (token / "pin.txt").write_text("2468\n")
        env = dict(ENV, SOFTHSM2_CONF=str(token / "softhsm2.conf"))
        # openssl writes a new key as PKCS#8, as softhsm2-util imports it.
        for step in (("--init-token", "--free", "--label", "kq", "--so-pin", "13579135"),
                     ("--import", pki.key, "--token", "kq", "--label", "signer", "--id", "0a1b")):
            subprocess.run(["softhsm2-util", *map(str, step), "--pin", "2468"], env=env, check=True,
                           stdout=subprocess.DEVNULL)
        # A build from real inputs needs no leave to be signed.
        done, signed = run_sign_script(SOURCES / "scripts", REAL_INPUTS_TOOL, folder / "token-signed", "--pkcs11-module",
                                       SOFTHSM, "--key-id", "0a1b", "--cert", pki.certificate, "--password-file",
                                       token / "pin.txt", "--no-timestamp", "--ca", pki.root, "--allow-dirty", env=env)
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertIn(f"Signed by: /CN={SIGNER}", done.stdout)
        self.assertEqual(verify(signed).returncode, 0)


class TimeStamped(unittest.TestCase):
    def test_a_stamp_must_verify_against_the_stamps_root_and_its_time_is_said(self):
        for case, tsa_root, returncode in (("stamped", pki.root, 0), ("stamped under another root", pki.other_root, 1)):
            with self.subTest(case), LoopbackTimeStamps(folder / f"{case} service") as service:
                done, signed = run_sign_script(SOURCES / "scripts", TOOL, folder / case, "--pfx", pki.pfx,
                                               "--password-file", pki.password, "--timestamp", service.url, "--tsa-ca",
                                               tsa_root, "--ca", pki.root, "--allow-stand-in", "--allow-dirty", env=ENV)
                self.assertEqual((done.returncode, service.stamped, signed.exists()), (returncode, 1, not returncode),
                                 done.stderr)
                said = re.search(r"^Stamped: +(.+ GMT)$", done.stdout, re.M)
                if returncode:
                    self.assertIn("time stamp against", done.stderr)
                    self.assertIn("Timestamp Server Signature verification: failed", done.stderr)
                else:
                    at = datetime.strptime(said.group(1), "%b %d %H:%M:%S %Y GMT").replace(tzinfo=timezone.utc)
                    self.assertLess(abs(at - datetime.now(timezone.utc)), timedelta(minutes=5))


if __name__ == "__main__":
    OSSLSIGNCODE, TABLE_ARGUMENTS = sys.argv[1], sys.argv[2:9]
    del sys.argv[1:9]
    TOOL, REAL_INPUTS_TOOL = (Path(argument) for argument in TABLE_ARGUMENTS[:2])
    ENV = dict(os.environ)
    if OSSLSIGNCODE != "installed":
        if not os.access(Path(OSSLSIGNCODE) / "osslsigncode", os.X_OK):
            sys.exit(f"no osslsigncode in {OSSLSIGNCODE}: scripts/install-deps.sh unpacks it there")
        ENV["PATH"] = f"{OSSLSIGNCODE}:{ENV['PATH']}"
    unittest.main()
