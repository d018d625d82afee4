#!/usr/bin/env python3
"""Marks a linked Windows executable to be copied whole into memory when started from removable
or network media (IMAGE_FILE_REMOVABLE_RUN_FROM_SWAP, IMAGE_FILE_NET_RUN_FROM_SWAP), and puts
right the image checksum the linker wrote, which covers the header.

usage: run_from_swap.py EXECUTABLE
"""
import array
import struct
import sys
from pathlib import Path

REMOVABLE_RUN_FROM_SWAP = 0x0400
NET_RUN_FROM_SWAP = 0x0800
CHARACTERISTICS_IN_FILE_HEADER = 18
FILE_HEADER_SIZE = 20
CHECKSUM_IN_OPTIONAL_HEADER = 64


def header_offsets(image):
    """Where the file header's Characteristics and the optional header's CheckSum lie."""
    signature = struct.unpack_from("<I", image, 0x3C)[0]
    if image[:2] != b"MZ" or image[signature:signature + 4] != b"PE\0\0":
        raise ValueError("not a Windows executable")
    file_header = signature + 4
    return (file_header + CHARACTERISTICS_IN_FILE_HEADER,
            file_header + FILE_HEADER_SIZE + CHECKSUM_IN_OPTIONAL_HEADER)


def pe_checksum(image, checksum_at):
    """The image checksum as Windows computes it: the file's 16-bit words summed with end-around
    carry, the checksum field counted as zero, plus the file's length."""
    data = bytearray(image)
    data[checksum_at:checksum_at + 4] = bytes(4)
    if len(data) % 2:
        data.append(0)
    words = array.array("H", data)
    if sys.byteorder != "little":
        words.byteswap()
    total = sum(words)
    while total > 0xFFFF:
        total = (total & 0xFFFF) + (total >> 16)
    return total + len(image)


def main(path):
    image = bytearray(Path(path).read_bytes())
    characteristics_at, checksum_at = header_offsets(image)
    characteristics = struct.unpack_from("<H", image, characteristics_at)[0]
    struct.pack_into("<H", image, characteristics_at,
                     characteristics | REMOVABLE_RUN_FROM_SWAP | NET_RUN_FROM_SWAP)
    # A checksum left at zero is one the loader does not look at; one the linker set must match.
    if struct.unpack_from("<I", image, checksum_at)[0]:
        struct.pack_into("<I", image, checksum_at, pe_checksum(image, checksum_at))
    Path(path).write_bytes(image)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
