#!/usr/bin/env python3
"""Writes what a build of the tool was made of, for it to be published beside the executable:
the commit and whether the tree differed from it, the versions of the toolchain's packages, the
build's options, and the SHA-256 of the inputs, of the firmware set and of the executable. The
build runs it after every link; scripts/sign.sh reads it back.

usage: build_info.py OUT --sources DIR --executable EXE [--commit SHA [--dirty]]
                     [--set-digest FILE] [--option NAME=VALUE ...] [--input FILE ...]

Without --commit, git is asked about DIR; sources without .git (scripts/reproduce.sh builds from
a copy) are told with --commit, and --dirty if they differ from it.
"""
import argparse
import hashlib
import re
import subprocess
from pathlib import Path

# What turns the sources into the executable's bytes: the cross-compiler and its runtime, the
# linker and resource compiler, the build tools, the Python that runs the generators, and what
# typesets the sample change log.
TOOLCHAIN_PACKAGES = (
    "g++-mingw-w64-i686-posix", "gcc-mingw-w64-i686-posix", "gcc-mingw-w64-base", "mingw-w64-i686-dev",
    "mingw-w64-common", "binutils-mingw-w64-i686", "cmake", "ninja-build", "python3", "python3-cairo",
    "libcairo2", "fonts-dejavu-core",
)


def sha256_of(path):
    return hashlib.sha256(Path(path).read_bytes()).hexdigest()


def git(sources, *arguments):
    return subprocess.run(["git", "-C", str(sources), *arguments], stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL, text=True, check=True).stdout


def source_state(sources, commit, dirty):
    """(commit, "clean" or "dirty"), or what could not be told."""
    if commit:
        return commit, "dirty" if dirty else "clean"
    try:
        head = git(sources, "rev-parse", "HEAD").strip()
        # Untracked files count: a build picks up whatever lies in the tree.
        changed = git(sources, "status", "--porcelain", "--untracked-files=all")
    except (OSError, subprocess.CalledProcessError):
        return "unknown (no git history here, and none given)", "unknown"
    return head, "dirty" if changed.strip() else "clean"


def package_versions():
    try:
        listed = subprocess.run(["dpkg-query", "-W", "-f=${Package} ${Version}\\n", *TOOLCHAIN_PACKAGES],
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True).stdout
    except OSError:
        listed = ""
    versions = dict(line.split(" ", 1) for line in listed.splitlines() if " " in line)
    return {name: versions.get(name, "not installed") for name in TOOLCHAIN_PACKAGES}


def shown(path, sources):
    """A path inside the sources relative to them, any other as it is."""
    path = Path(path).resolve()
    return str(path.relative_to(sources)) if path.is_relative_to(sources) else str(path)


def build_info(sources, executable, commit="", dirty=False, set_digest=None, options=(), inputs=()):
    sources = Path(sources).resolve()
    commit, tree = source_state(sources, commit, dirty)
    lines = ["# How this executable was built, written by the build: publish it beside the executable.",
             f"commit: {commit}", f"tree: {tree}"]
    lines += [f"package {name}: {version}" for name, version in package_versions().items()]
    lines += [f"option {option}" for option in options]
    lines += [f"input {shown(path, sources)}: {sha256_of(path)}" for path in inputs]
    if set_digest:
        found = re.search(r"\b[0-9a-f]{64}\b", Path(set_digest).read_text())
        lines.append(f"set: {found.group(0) if found else 'unknown'}")
    lines.append("# The executable's SHA-256 below is the unsigned build's; the signed copy a release hands out "
                 "has another, listed in SHA256SUMS.txt beside it.")
    lines.append(f"executable {Path(executable).name}: {sha256_of(executable)}")
    return "\n".join(lines) + "\n"


def main():
    parser = argparse.ArgumentParser(usage=__doc__)
    parser.add_argument("out")
    parser.add_argument("--sources", required=True)
    parser.add_argument("--executable", required=True)
    parser.add_argument("--commit", default="")
    parser.add_argument("--dirty", action="store_true")
    parser.add_argument("--set-digest")
    parser.add_argument("--option", action="append", default=[])
    parser.add_argument("--input", action="append", default=[])
    given = parser.parse_args()
    Path(given.out).write_text(build_info(given.sources, given.executable, given.commit, given.dirty,
                                          given.set_digest, given.option, given.input))


if __name__ == "__main__":
    main()
