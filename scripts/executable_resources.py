#!/usr/bin/env python3
"""Reads the resources of a built Windows executable: the payloads, the manifest and the version
resource.

usage: executable_resources.py EXECUTABLE

Run as a program, it says in one line whether the executable carries stand-ins, as its version
resource declares (the PrivateBuild string and flag), and ends with status 1 if it does or if it
cannot tell; a release must not go out with stand-ins.
"""
import struct
import sys
from pathlib import Path
from typing import NamedTuple

RT_RCDATA, RT_VERSION, RT_MANIFEST = 10, 16, 24
VS_FF_PRIVATEBUILD = 0x08
RESOURCE_TABLE = 2  # in the optional header's data directories


class VersionInfo(NamedTuple):
    file_version: tuple
    product_version: tuple
    flags_mask: int
    flags: int
    file_os: int
    file_type: int
    file_subtype: int
    strings: dict  # string table ("041904E3") -> {name: text}
    translations: list  # (language, code page) pairs


def resources(image):
    """{(type, name): bytes} of every resource in its first language; a name is an id or the
    upper-case text the resource compiler stored."""
    signature = struct.unpack_from("<I", image, 0x3C)[0]
    if image[:2] != b"MZ" or image[signature:signature + 4] != b"PE\0\0":
        raise ValueError("not a Windows executable")
    sections, optional_size = struct.unpack_from("<H12xH", image, signature + 6)
    optional = signature + 24
    directories = optional + (112 if struct.unpack_from("<H", image, optional)[0] == 0x20B else 96)
    table_rva = struct.unpack_from("<I", image, directories + 8 * RESOURCE_TABLE)[0]
    if not table_rva:
        return {}

    def offset(rva):
        for at in range(optional + optional_size, optional + optional_size + 40 * sections, 40):
            size, start, raw_size, raw = struct.unpack_from("<4I", image, at + 8)
            if start <= rva < start + max(size, raw_size):
                return raw + rva - start
        raise ValueError(f"no section holds the address {rva:#x}")

    base = offset(table_rva)

    def entries(directory):
        named, numbered = struct.unpack_from("<HH", image, base + directory + 12)
        for at in range(base + directory + 16, base + directory + 16 + 8 * (named + numbered), 8):
            name, target = struct.unpack_from("<II", image, at)
            if name & 0x80000000:
                text = base + (name & 0x7FFFFFFF)
                length = struct.unpack_from("<H", image, text)[0]
                name = image[text + 2:text + 2 + 2 * length].decode("utf-16-le")
            yield name, target & 0x7FFFFFFF

    found = {}
    for kind, names in entries(0):
        for name, languages in entries(names):
            rva, size = struct.unpack_from("<II", image, base + next(entries(languages))[1])
            found[(kind, name)] = bytes(image[offset(rva):offset(rva) + size])
    return found


def _align(at):
    return (at + 3) & ~3


def _node(block, at):
    """One node of a version block: its key, its value (text or bytes), its children, its end."""
    length, value_length, is_text = struct.unpack_from("<3H", block, at)
    key_end = at + 6
    while block[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    value_at = _align(key_end + 2)
    value_end = value_at + value_length * (2 if is_text else 1)
    value = block[value_at:value_end]
    children, child = [], _align(value_end)
    while child < at + length:
        *node, child = _node(block, child)
        children.append(node)
        child = _align(child)
    key = block[at + 6:key_end].decode("utf-16-le")
    return key, value.decode("utf-16-le").split("\0")[0] if is_text else value, children, at + length


def version_info(image):
    """The version resource: the fixed numbers, the string tables and the translations."""
    version = resources(image).get((RT_VERSION, 1))
    if version is None:
        raise ValueError("no version resource")
    _, fixed, blocks, _ = _node(version, 0)
    numbers = struct.unpack_from("<13I", fixed)
    if numbers[0] != 0xFEEF04BD:
        raise ValueError("no fixed version information")
    strings, translations = {}, []
    for key, _, children in blocks:
        if key == "StringFileInfo":
            strings = {table: {name: text for name, text, _ in texts} for table, _, texts in children}
        elif key == "VarFileInfo":
            translations = [pair for _, value, _ in children for pair in struct.iter_unpack("<HH", value)]

    def four(most, least):
        return most >> 16, most & 0xFFFF, least >> 16, least & 0xFFFF

    return VersionInfo(four(*numbers[2:4]), four(*numbers[4:6]), *numbers[6:11], strings, translations)


def flagged_private_build(image):
    """Whether the fixed file flags say the executable is a private build, as one that carries
    stand-ins is: the tool then marks its window's caption as a test build's."""
    info = version_info(image)
    return bool(info.flags & info.flags_mask & VS_FF_PRIVATEBUILD)


def carried_stand_ins(image):
    """What the executable says of the stand-ins it carries, or None for a build from real inputs."""
    info = version_info(image)
    marks = [table["PrivateBuild"] for table in info.strings.values() if table.get("PrivateBuild")]
    if marks or info.flags & info.flags_mask & VS_FF_PRIVATEBUILD:
        return marks[0] if marks else "flagged as a private build"
    return None


def main(path):
    try:
        mark = carried_stand_ins(Path(path).read_bytes())
    except (OSError, ValueError, struct.error) as error:
        sys.exit(f"{path}: cannot read its version resource ({error!r})")
    if mark:
        sys.exit(f"{path} carries stand-ins: {mark}")
    print(f"{path} is built from real inputs")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
