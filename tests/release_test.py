"""What a build records of itself (BUILDINFO.txt), and scripts/sign.sh and scripts/reproduce.sh
refusing a build no one could repeat: in a temporary clone holding the scripts as they stand, so
the state of the tree under test does not matter.

Usage: release_test.py TOOL REAL_INPUTS_TOOL OBJDUMP GENERATED FIRMWARE CHANGE_LOG HANDLER_PROGRAM
(the arguments of executable_tables_test.py; the last is not used here)
"""
import hashlib
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

SOURCES = Path(__file__).resolve().parent.parent
sys.path[:0] = [str(SOURCES / "tests/e2e"), str(SOURCES / "scripts")]
from build_info import TOOLCHAIN_PACKAGES  # noqa: E402
from signing import ThrowawayPki  # noqa: E402


def run(*command):
    return subprocess.run([*map(str, command)], stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=120)


def git(*arguments):
    done = run("git", "-C", CLONE, "-c", "user.name=KQ", "-c", "user.email=kq@test.invalid", *arguments)
    done.check_returncode()
    return done.stdout.strip()


def sha256_of(path):
    return hashlib.sha256(Path(path).read_bytes()).hexdigest()


def parse(path):
    return dict(line.split(": ", 1) for line in Path(path).read_text().splitlines() if ": " in line)


def record(*options, sources=None):
    """Records the clone's build as the build does, and reads the record back."""
    run(sys.executable, CLONE / "scripts/build_info.py", RECORD, "--sources", sources or CLONE, "--executable", EXE,
        *options).check_returncode()
    return parse(RECORD)


class Release(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        global CLONE, EXE, RECORD
        cls.folder = Path(tempfile.mkdtemp(prefix="kq-release-"))
        CLONE, cls.pki = cls.folder / "clone", ThrowawayPki(cls.folder / "pki")
        EXE, RECORD = CLONE / "build/win/RU_ZadorazUdizav.exe", CLONE / "build/win/BUILDINFO.txt"
        run("git", "clone", "--quiet", SOURCES, CLONE).check_returncode()
        shutil.copytree(SOURCES / "scripts", CLONE / "scripts", dirs_exist_ok=True)
        git("add", "--all")
        git("commit", "--quiet", "--allow-empty", "--message", "The scripts under test")
        EXE.parent.mkdir(parents=True)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.folder, ignore_errors=True)

    def setUp(self):
        # The clone as committed, and its build from real inputs recorded.
        git("reset", "--quiet", "--hard")
        git("clean", "--quiet", "--force", "-d")
        shutil.copy(REAL_INPUTS_TOOL, EXE)
        self.recorded = record()

    def untracked_file(self):
        (CLONE / "notes.txt").write_text("notes\n")

    def test_record_names_the_commit_the_tree_untracked_files_included_and_the_packages(self):
        self.assertEqual((self.recorded["commit"], self.recorded["tree"], self.recorded["executable RU_ZadorazUdizav.exe"]),
                         (git("rev-parse", "HEAD"), "clean", sha256_of(REAL_INPUTS_TOOL)))
        for package in TOOLCHAIN_PACKAGES:
            listed = run("dpkg-query", "-W", "-f=${Version}", package)
            self.assertEqual(self.recorded[f"package {package}"], listed.stdout if listed.returncode == 0 else "not installed")
        self.assertEqual(record("--commit", "0123abc", "--dirty", sources=self.folder)["commit"], "0123abc")
        for change in (self.untracked_file, (CLONE / "README.md").unlink):
            change()
            self.assertEqual(record()["tree"], "dirty", change)

    def test_the_build_recorded_its_executable_the_set_and_the_change_log(self):
        built = parse(GENERATED.parent / "BUILDINFO.txt")
        self.assertEqual(built[f"executable {TOOL.name}"], sha256_of(TOOL))
        self.assertIn(built["set"], (GENERATED / "firmware_set_digest.txt").read_text())
        self.assertIn(sha256_of(CHANGE_LOG), built.values())

    def sign(self, *options):
        done = run("bash", CLONE / "scripts/sign.sh", "--pfx", self.pki.pfx, "--password-file", self.pki.password,
                   "--no-timestamp", "--ca", self.pki.root, *options)
        return done.returncode, done.stderr, (CLONE / "build/win/signed" / EXE.name).exists()

    def test_sign_signs_only_what_the_record_names_from_a_clean_tree_at_head(self):
        self.assertEqual(self.sign()[::2], (0, True))
        for case, change, options, says in (
                ("no record", RECORD.unlink, (), "there is no build/win/BUILDINFO.txt"),
                ("rebuilt since", lambda: shutil.copy(TOOL, EXE), ("--allow-dirty", "--allow-stand-in"),
                 f"has SHA-256 {sha256_of(TOOL)}, the record names {sha256_of(REAL_INPUTS_TOOL)}"),
                ("untracked file", lambda: (self.untracked_file(), record()), (), "BUILDINFO.txt says dirty"),
                ("a commit since", lambda: git("commit", "--quiet", "--allow-empty", "--message", "Later"), (),
                 f"names {git('rev-parse', 'HEAD')}, HEAD is")):
            with self.subTest(case):
                change()
                returncode, stderr, signed = self.sign(*options)
                self.assertEqual((returncode, len(stderr.splitlines()), signed), (1, 1, False), stderr)
                self.assertIn(says, stderr)
                self.setUp()
        self.untracked_file()
        record()
        self.assertEqual(self.sign("--allow-dirty")[::2], (0, True))

    def test_reproduce_refuses_a_dirty_tree_before_building(self):
        self.untracked_file()
        done = run("bash", CLONE / "scripts/reproduce.sh")
        self.assertEqual((done.returncode, done.stdout), (1, ""))
        self.assertIn("the tree differs from commit", done.stderr)


if __name__ == "__main__":
    TOOL, REAL_INPUTS_TOOL, OBJDUMP, GENERATED, FIRMWARE, CHANGE_LOG, _ = (Path(sys.argv.pop(1)) for _ in range(7))
    unittest.main()
