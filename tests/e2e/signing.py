"""Signs the built tool as its maker would, with scripts/sign.sh, using a throwaway root and a
code-signing certificate that root issued, both made with openssl."""
import shutil
import subprocess
import sys
from pathlib import Path

SIGNER = "KQ throwaway signer"


def openssl(*arguments, cwd):
    subprocess.run(["openssl", *arguments], cwd=cwd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


class ThrowawayPki:
    """A root (the trust anchor), a code-signing certificate it issued with its key, both also in a
    PKCS#12 file under a password kept in a file, and another root that issued nothing."""

    def __init__(self, folder):
        folder = Path(folder)
        folder.mkdir(parents=True, exist_ok=True)
        new_key = ("-newkey", "rsa:2048", "-nodes", "-days", "2")
        for name in ("root", "other-root"):
            openssl("req", "-x509", *new_key, "-keyout", f"{name}.key", "-out", f"{name}.pem", "-subj",
                    f"/CN=KQ throwaway {name}", "-addext", "basicConstraints=critical,CA:TRUE",
                    "-addext", "keyUsage=critical,keyCertSign,cRLSign", cwd=folder)
        openssl("req", *new_key, "-CA", "root.pem", "-CAkey", "root.key", "-keyout", "signer.key", "-out", "signer.pem",
                "-subj", f"/CN={SIGNER}/O=KQ test", "-addext", "basicConstraints=critical,CA:FALSE",
                "-addext", "keyUsage=critical,digitalSignature", "-addext", "extendedKeyUsage=codeSigning", cwd=folder)
        (folder / "password.txt").write_text("throwaway password\n")
        openssl("pkcs12", "-export", "-in", "signer.pem", "-inkey", "signer.key", "-certfile", "root.pem",
                "-passout", "file:password.txt", "-out", "signer.pfx", cwd=folder)
        self.root, self.root_key, self.other_root = folder / "root.pem", folder / "root.key", folder / "other-root.pem"
        self.certificate, self.key = folder / "signer.pem", folder / "signer.key"
        self.pfx, self.password = folder / "signer.pfx", folder / "password.txt"


def run_sign_script(scripts, exe, folder, *options, env=None):
    """Runs scripts/sign.sh with options on a copy of exe (none if None) laid out as a build is, in
    folder, with the build's record of it, which names no commit. Gives the finished process, whose
    output is text, and where the signed copy goes."""
    tree = Path(folder) / "checkout"
    (tree / "build/win").mkdir(parents=True, exist_ok=True)
    shutil.copytree(scripts, tree / "scripts", dirs_exist_ok=True)
    if exe:
        shutil.copy(exe, tree / "build/win/RU_ZadorazUdizav.exe")
        # The guide the build made beside it, which the release hands out with the signed copy.
        if Path(exe).with_name("guide-ru.html").exists():
            shutil.copy(Path(exe).with_name("guide-ru.html"), tree / "build/win")
        subprocess.run([sys.executable, tree / "scripts/build_info.py", tree / "build/win/BUILDINFO.txt", "--sources",
                        tree, "--executable", tree / "build/win/RU_ZadorazUdizav.exe"], check=True)
    done = subprocess.run(["bash", str(tree / "scripts/sign.sh"), *map(str, options)], env=env,
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=120)
    return done, tree / "build/win/signed/RU_ZadorazUdizav.exe"


def signed_with_a_key_file(scripts, exe, folder, pki=None, env=None):
    """exe, a build with stand-ins from no commit, signed with a key in a file and checked against
    the throwaway root (one made in folder unless given): as run_sign_script."""
    pki = pki or ThrowawayPki(Path(folder) / "pki")
    return run_sign_script(scripts, exe, folder, "--pfx", pki.pfx, "--password-file", pki.password,
                           "--no-timestamp", "--ca", pki.root, "--allow-stand-in", "--allow-dirty", env=env)
