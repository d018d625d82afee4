#!/usr/bin/env python3
"""The version the project sets, once, in the project() command of CMakeLists.txt: the one the
built executable carries. Tests of the executable take it from here.

usage: project_version.py   prints it, e.g. 6.49.0.0
"""
import re
import sys
from pathlib import Path

CMAKE_LISTS = Path(__file__).resolve().parent.parent / "CMakeLists.txt"


def project_version(cmake_lists=CMAKE_LISTS):
    """The four numbers of the version, major first."""
    found = re.search(r"^project\([^)]*\bVERSION\s+(\d+)\.(\d+)\.(\d+)\.(\d+)\b", Path(cmake_lists).read_text(), re.M)
    if not found:
        raise ValueError(f"{cmake_lists} sets no four-part project VERSION")
    return tuple(int(number) for number in found.groups())


if __name__ == "__main__":
    if len(sys.argv) != 1:
        sys.exit(__doc__)
    print(".".join(map(str, project_version())))
