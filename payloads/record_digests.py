#!/usr/bin/env python3
"""Records the SHA-256 of every payload the executable embeds, for the tool to check its own
copy against at start, and the digest of the whole firmware set for people to compare builds by.

usage: record_digests.py HEADER SET_LINE CHANGE_LOG NAME=FILE...

The NAME=FILE pairs are the firmware set in catalogue order. HEADER receives the digests as C++
tables; SET_LINE one line naming the set's digest, the SHA-256 of the payloads' bytes
concatenated in that order.
"""
import hashlib
import sys
from pathlib import Path

SET_SIZE = 30


def sha256_of(path):
    return hashlib.sha256(Path(path).read_bytes()).digest()


def entry(name, digest):
    return f'{{"{name}", {{{{{", ".join(f"0x{b:02x}" for b in digest)}}}}}}}'


def main(header, set_line, change_log, *pairs):
    firmware = [pair.split("=", 1) for pair in pairs]
    if len(firmware) != SET_SIZE:
        sys.exit(f"record_digests.py: {len(firmware)} payloads given, the set has {SET_SIZE}")
    whole_set = hashlib.sha256()
    rows = []
    for name, path in firmware:
        data = Path(path).read_bytes()
        whole_set.update(data)
        rows.append(f"    {entry(name, hashlib.sha256(data).digest())},")
    Path(header).write_text(
        "// Made by the build from the payloads it embeds: the SHA-256 of each. Not to be edited.\n"
        "#pragma once\n\n"
        '#include "firmware/integrity.h"\n\n'
        "inline constexpr RecordedDigest kRecordedFirmwareSet[] = {\n" + "\n".join(rows) + "\n};\n\n"
        f"inline constexpr RecordedDigest kRecordedChangeLog = {entry('Changes', sha256_of(change_log))};\n")
    Path(set_line).write_text(f"Embedding the firmware set with SHA-256 {whole_set.hexdigest()} "
                              f"(its {SET_SIZE} payloads in catalogue order)\n")


if __name__ == "__main__":
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
