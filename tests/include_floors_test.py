"""The floors of the source tree: each folder includes only from itself and from the folders below it,
never from one above. Every `#include "…"` of the product's sources is read; one that crosses a floor
the wrong way is named with its file and line.

usage: include_floors_test.py SOURCE_DIR
"""
import re
import sys
from pathlib import Path

# The folders each folder may include from, besides itself: the ground floor, the journal above it,
# the features, and the window on top. This table is the rule; the tree follows it.
MAY_INCLUDE = {
    "base": [],
    "journal": ["base"],
    "widgets": ["base"],
    "drives": ["base", "widgets"],
    "firmware": ["base", "journal", "drives"],
    "changelog": ["base", "journal", "firmware"],
    "app": ["base", "journal", "widgets", "drives", "firmware", "changelog"],
}
SOURCES = {".h", ".cpp", ".rc", ".in", ".inc"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def crossings(source_dir):
    """One line for each include that reaches a folder its own folder may not include from."""
    found = []
    for folder, allowed in MAY_INCLUDE.items():
        for path in sorted((source_dir / folder).rglob("*")):
            if path.suffix not in SOURCES:
                continue
            text = path.read_text(encoding="utf-8")
            for match in INCLUDE.finditer(text):
                target = match[1].split("/")[0]
                # Generated headers and the same folder's own files are not floors.
                if target not in MAY_INCLUDE or target == folder or target in allowed:
                    continue
                line = text.count("\n", 0, match.start()) + 1
                may = ", ".join(f"{name}/" for name in allowed) or "nothing of ours"
                found.append(f"{path.relative_to(source_dir)}:{line}: includes {match[1]}; "
                             f"{folder}/ may include {may}")
    return found


def main():
    found = crossings(Path(sys.argv[1]))
    for line in found:
        print(line)
    print(f"{len(found)} includes cross a floor the wrong way")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
