#!/usr/bin/env python3
"""The functions a Windows executable imports, one "library function" line each, as MinGW's
objdump reads its import table; library names in lower case.

usage: executable_imports.py EXECUTABLE [OBJDUMP]

Its output, after a heading, is the tool's frozen list of imports, tests/windows7_imports.txt,
which ExecutableTables holds the built tool to. Written anew, on purpose, with
    python3 scripts/executable_imports.py build/win/RU_ZadorazUdizav.exe > tests/windows7_imports.txt
"""
import subprocess
import sys
from pathlib import Path

OBJDUMP = "i686-w64-mingw32-objdump"
HEADING = """\
# Every function the tool imports, by library: what it asks of Windows before its first line runs.
# Each is one Windows 7 SP1 has, and each library a known system library there (a function of a
# later Windows is looked up at run time: base/later_windows_win.h). ExecutableTables fails on an
# import added or removed until this list is written anew, on purpose, with
#   python3 scripts/executable_imports.py build/win/RU_ZadorazUdizav.exe > tests/windows7_imports.txt
"""


def imports_in(private_headers):
    """{(library, function)} from objdump -p's account of the import table."""
    found, library = set(), None
    for line in private_headers.splitlines():
        if "DLL Name:" in line:
            library = line.split(":", 1)[1].strip().lower()
        elif library and line.startswith("\t") and len(fields := line.split()) == 3 and fields[1].isdigit():
            found.add((library, fields[2]))
    return found


def imports(executable, objdump=OBJDUMP):
    return imports_in(subprocess.run([objdump, "-p", str(executable)], check=True, stdout=subprocess.PIPE,
                                     text=True).stdout)


def frozen_imports(path):
    """{(library, function)} of a list this script wrote."""
    return {tuple(line.split()) for line in Path(path).read_text(encoding="utf-8").splitlines()
            if line.strip() and not line.startswith("#")}


if __name__ == "__main__":
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    sys.stdout.write(HEADING + "".join(f"{library} {function}\n"
                                       for library, function in sorted(imports(*sys.argv[1:]))))
