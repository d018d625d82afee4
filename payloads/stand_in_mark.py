#!/usr/bin/env python3
"""Marks a build that carries stand-ins: writes the header the version resource includes, which
defines KQ_PRIVATE_BUILD, the executable's PrivateBuild string, when a firmware image is a
stand-in or the change log is the sample, and leaves it undefined for a build from real inputs.

usage: stand_in_mark.py HEADER FIRMWARE_DIR CHANGE_LOG

What is embedded decides, wherever it came from: every stand-in image begins with the marker
generate_payloads.py writes, and the sample change log names its typesetter as its creator.
"""
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path[:0] = [str(ROOT / "firmware"), str(ROOT / "changelog")]
import catalogue  # noqa: E402
from generate_payloads import is_stand_in  # noqa: E402
from make_change_log_pdf import is_sample  # noqa: E402


def private_build(firmware_dir, change_log):
    """The PrivateBuild text saying which stand-ins a build of these inputs carries, or None."""
    stand_in_firmware = any(is_stand_in(Path(firmware_dir) / entry.payload)
                            for entry in catalogue.entries() if entry.kind != "languages")
    sample_change_log = is_sample(change_log)
    if stand_in_firmware and sample_change_log:
        return "Stand-in firmware and sample change log, not for terminals"
    if stand_in_firmware:
        return "Stand-in firmware, not for terminals"
    return "Sample change log, not for release" if sample_change_log else None


def main(header, firmware_dir, change_log):
    mark = private_build(firmware_dir, change_log)
    Path(header).write_text(
        "// Made by the build from the payloads it embeds. Not to be edited.\n"
        + (f'#define KQ_PRIVATE_BUILD "{mark}"\n' if mark else "// None of them is a stand-in.\n"))


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
