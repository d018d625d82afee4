"""What a build records of itself (scripts/build_info.py, build/win/BUILDINFO.txt), and the release
scripts' refusal of a build no one could repeat: scripts/sign.sh and scripts/reproduce.sh, run in a
temporary clone of the sources with the scripts as they stand, whatever the state of the tree.

Usage: release_test.py TOOL REAL_INPUTS_TOOL OBJDUMP GENERATED FIRMWARE CHANGE_LOG
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


def run(*command, cwd=None):
    return subprocess.run([*map(str, command)], cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                          timeout=120)


def git(*arguments):
    done = run("git", "-C", clone, "-c", "user.name=KQ test", "-c", "user.email=test@kq.invalid", *arguments)
    assert done.returncode == 0, done.stderr
    return done.stdout.strip()


def sha256_of(path):
    return hashlib.sha256(Path(path).read_bytes()).hexdigest()


def parse(record):
    return dict(line.split(": ", 1) for line in Path(record).read_text().splitlines() if ": " in line)


def setUpModule():
    global folder, clone, pki, executable, record
    folder = Path(tempfile.mkdtemp(prefix="kq-release-"))
    clone = folder / "clone"
    done = run("git", "clone", "--quiet", SOURCES, clone)
    assert done.returncode == 0, done.stderr
    shutil.copytree(SOURCES / "scripts", clone / "scripts", dirs_exist_ok=True)
    git("add", "--all")
    git("commit", "--quiet", "--allow-empty", "--message", "The scripts under test")
    pki = ThrowawayPki(folder / "pki")
    executable, record = clone / "build/win/RU_ZadorazUdizav.exe", clone / "build/win/BUILDINFO.txt"
    executable.parent.mkdir(parents=True)


def tearDownModule():
    shutil.rmtree(folder, ignore_errors=True)


def write_record(*options, sources=None):
    done = run(sys.executable, clone / "scripts/build_info.py", record, "--sources", sources or clone,
               "--executable", executable, *options)
    assert done.returncode == 0, done.stderr
    return parse(record)


class CloneCase(unittest.TestCase):
    def setUp(self):
        # The clone as committed, its build from real inputs recorded.
        git("reset", "--quiet", "--hard")
        git("clean", "--quiet", "--force", "-d")
        shutil.copy(REAL_INPUTS_TOOL, executable)
        write_record()


class BuildRecord(CloneCase):
    def test_names_the_commit_and_whether_the_tree_differed_from_it_untracked_files_included(self):
        self.assertEqual({key: parse(record)[key] for key in ("commit", "tree")},
                         {"commit": git("rev-parse", "HEAD"), "tree": "clean"})
        for case, change in (("untracked file", lambda: (clone / "notes.txt").write_text("notes\n")),
                             ("changed file", lambda: (clone / "README.md").write_text("changed\n")),
                             ("removed file", lambda: (clone / "CMakeLists.txt").unlink())):
            with self.subTest(case):
                change()
                self.assertEqual(write_record()["tree"], "dirty")
                self.setUp()

    def test_sources_without_their_history_are_told_their_commit(self):
        copy = folder / "copy-without-history"
        copy.mkdir(exist_ok=True)
        for options, commit, tree in (((), "unknown (no git history here, and none given)", "unknown"),
                                      (("--commit", "0123abc"), "0123abc", "clean"),
                                      (("--commit", "0123abc", "--dirty"), "0123abc", "dirty")):
            recorded = write_record(*options, sources=copy)
            self.assertEqual((recorded["commit"], recorded["tree"]), (commit, tree), options)

    def test_names_the_toolchain_packages_as_dpkg_lists_them_the_options_and_the_inputs(self):
        recorded = write_record("--option", "KQ_FIRMWARE_DIR=/images", "--input", SOURCES / "payloads/Languages")
        for package in TOOLCHAIN_PACKAGES:
            listed = run("dpkg-query", "-W", "-f=${Version}", package)
            self.assertEqual(recorded[f"package {package}"], listed.stdout if listed.returncode == 0 else "not installed")
        self.assertIn("option KQ_FIRMWARE_DIR=/images", record.read_text().splitlines())
        self.assertEqual(recorded[f"input {SOURCES / 'payloads/Languages'}"], sha256_of(SOURCES / "payloads/Languages"))
        self.assertEqual(recorded["executable RU_ZadorazUdizav.exe"], sha256_of(REAL_INPUTS_TOOL))

    def test_the_build_recorded_its_executable_the_set_and_the_change_log(self):
        recorded = parse(GENERATED.parent / "BUILDINFO.txt")
        self.assertEqual(recorded[f"executable {TOOL.name}"], sha256_of(TOOL))
        self.assertIn(recorded["set"], (GENERATED / "firmware_set_digest.txt").read_text())
        self.assertIn(sha256_of(CHANGE_LOG), recorded.values())
        self.assertRegex(recorded["commit"], r"^([0-9a-f]{40}|unknown\b)")


class Refusals(CloneCase):
    def sign(self, *options):
        done = run("bash", clone / "scripts/sign.sh", "--pfx", pki.pfx, "--password-file", pki.password,
                   "--no-timestamp", "--ca", pki.root, *options)
        return done, (clone / "build/win/signed" / executable.name).exists()

    def test_sign_refuses_a_build_no_one_could_repeat_from_a_named_commit(self):
        def untracked_file():
            (clone / "notes.txt").write_text("notes\n")
            write_record()

        for case, change, options, says in (
                ("no record", record.unlink, (), "there is no build/win/BUILDINFO.txt"),
                ("executable rebuilt since", lambda: executable.write_bytes(TOOL.read_bytes()), (),
                 f"has SHA-256 {sha256_of(TOOL)}, the record names {sha256_of(REAL_INPUTS_TOOL)}"),
                ("an untracked file", untracked_file, (), "BUILDINFO.txt says dirty"),
                ("a commit since", lambda: git("commit", "--quiet", "--allow-empty", "--message", "Later"), (),
                 "HEAD is"),
                ("executable rebuilt, dirty allowed", lambda: executable.write_bytes(TOOL.read_bytes()),
                 ("--allow-dirty", "--allow-stand-in"), "has SHA-256")):
            with self.subTest(case):
                change()
                done, signed = self.sign(*options)
                self.assertEqual((done.returncode, len(done.stderr.splitlines()), signed), (1, 1, False), done.stderr)
                self.assertIn(says, done.stderr)
                self.setUp()

    def test_sign_signs_a_clean_current_build_and_a_dirty_one_only_when_allowed(self):
        done, signed = self.sign()
        self.assertEqual((done.returncode, signed), (0, True), done.stderr)
        (clone / "notes.txt").write_text("notes\n")
        write_record()
        done, signed = self.sign("--allow-dirty")
        self.assertEqual((done.returncode, signed), (0, True), done.stderr)

    def test_reproduce_refuses_a_dirty_tree_before_building(self):
        for case, change in (("untracked file", lambda: (clone / "notes.txt").write_text("notes\n")),
                             ("changed file", lambda: (clone / "README.md").write_text("changed\n"))):
            with self.subTest(case):
                change()
                done = run("bash", clone / "scripts/reproduce.sh")
                self.assertEqual((done.returncode, done.stdout), (1, ""), done.stderr)
                self.assertIn("reproduce.sh: the tree differs from commit", done.stderr)
                self.assertIn("--allow-dirty", done.stderr)
                self.setUp()


if __name__ == "__main__":
    TOOL, REAL_INPUTS_TOOL, OBJDUMP, GENERATED, FIRMWARE, CHANGE_LOG = (Path(sys.argv.pop(1)) for _ in range(6))
    unittest.main()
