#!/usr/bin/env python3
"""Records the SHA-256 of every payload the executable embeds, for the tool to check its own
copy against at start, and the digest of the whole firmware set for people to compare builds by.

usage: record_digests.py HEADER SET_LINE FIRMWARE_DIR PAYLOAD_DIR CHANGE_LOG

The firmware set is the catalogue's, its images taken from FIRMWARE_DIR and its language tables
from PAYLOAD_DIR. HEADER receives the digests as C++ tables and the set's digest, the SHA-256 of
the payloads' bytes concatenated in catalogue order; SET_LINE one line naming that digest.
"""
import hashlib
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "firmware"))
import catalogue  # noqa: E402


def sha256_of(path):
    return hashlib.sha256(Path(path).read_bytes()).digest()


def entry(name, digest):
    return f'{{"{name}", {{{{{", ".join(f"0x{b:02x}" for b in digest)}}}}}}}'


def main(header, set_line, firmware_dir, payload_dir, change_log):
    whole_set = hashlib.sha256()
    rows = []
    entries = catalogue.entries()
    for row in entries:
        data = row.source(firmware_dir, payload_dir).read_bytes()
        whole_set.update(data)
        rows.append(f"    {entry(row.payload, hashlib.sha256(data).digest())},")
    Path(header).write_text(
        "// Made by the build from the payloads it embeds: the SHA-256 of each. Not to be edited.\n"
        "#pragma once\n\n"
        '#include "firmware/integrity.h"\n\n'
        "inline constexpr RecordedDigest kRecordedFirmwareSet[] = {\n" + "\n".join(rows) + "\n};\n\n"
        f"inline constexpr RecordedDigest kRecordedChangeLog = {entry('Changes', sha256_of(change_log))};\n\n"
        f'inline constexpr char kFirmwareSetSha256[] = "{whole_set.hexdigest()}";\n')
    Path(set_line).write_text(f"Embedding the firmware set with SHA-256 {whole_set.hexdigest()} "
                              f"(its {len(entries)} payloads in catalogue order)\n")


if __name__ == "__main__":
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    main(*sys.argv[1:])
