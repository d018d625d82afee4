#!/usr/bin/env python3
"""Makes the tool's build inputs that are ours to make.

  tables   PAYLOAD_DIR   the two language tables (committed, rarely remade)
  pictures PAYLOAD_DIR   the application icon and the information button's pictures
  standins OUT_DIR       stand-in firmware images for builds without the real ones

Every output is a pure function of this file and badge_pictures.py beside it, so two runs give
identical bytes.
"""
import hashlib
import struct
import sys
from pathlib import Path

from badge_pictures import write_badges

EDITIONS = [  # (display name, language, currency) for edition ids 1..13
    ("Russian (RUB)", "rus", "rub"), ("Kazakh (KZT)", "kaz", "kzt"),
    ("Russian (KZT)", "rus", "kzt"), ("English (EUR)", "eng", "eur"),
    ("Latvian (EUR)", "lva", "eur"), ("French (TND)", "fre", "tnd"),
    ("Turkmen (TMT)", "tkm", "tmt"), ("Bulgarian (BGN)", "blg", "bgn"),
    ("Armenian (AMD)", "arm", "amd"), ("Georgian (GEL)", "geo", "gel"),
    ("Russian (KGS)", "rus", "kgs"), ("French (FCFA)", "kot", "fcf"),
    ("Russian (UZS)", "rus", "uzs"),
]
# (payload suffix, edition file prefix, table payload name, smallest image, step between editions)
FAMILIES = [("", "KQ", "Languages", 477_280, 63), ("s", "KQS", "Languagess", 482_021, 67)]
# Added to the last SAME edition so the whole set weighs what the real one does.
SIZE_TOP_UP = 10
REAL_SET_BYTES = 13_441_213


def language_table(edition_prefix):
    out = bytearray()
    for number, (name, language, currency) in enumerate(EDITIONS, start=1):
        file_name = f"{edition_prefix}_{language}.{currency}".encode("ascii")
        display = name.encode("ascii")
        rest = 2 + len(display) + len(file_name) + 1
        out += struct.pack("<IHH", number, rest, len(display)) + display + file_name + b"\0"
    return bytes(out)


def write_tables(payload_dir):
    for _, edition_prefix, table_name, _, _ in FAMILIES:
        (payload_dir / table_name).write_bytes(language_table(edition_prefix))


def standin_image(payload_name, size):
    # Readable marker first: its first words are no valid stack pointer or reset vector,
    # so no boot loader could mistake the file for a vector table.
    marker = (f"KQ STAND-IN IMAGE, NOT FIRMWARE. Build test data for {payload_name}; "
              "never load it into a terminal.\n").encode("ascii")
    body = bytearray(marker)
    counter = 0
    seed = payload_name.encode("ascii")
    while len(body) < size:
        body += hashlib.sha256(seed + counter.to_bytes(4, "little")).digest()
        counter += 1
    return bytes(body[:size])


def write_standins(out_dir):
    out_dir.mkdir(parents=True, exist_ok=True)
    total = 0
    for suffix, _, table_name, smallest, step in FAMILIES:
        for number in range(1, len(EDITIONS) + 1):
            size = smallest + step * (number - 1)
            if suffix == "s" and number == len(EDITIONS):
                size += SIZE_TOP_UP
            image = standin_image(f"Firmware{number}{suffix}", size)
            (out_dir / f"Firmware{number}{suffix}").write_bytes(image)
            total += size
            if number == 1:  # the main image is the edition-1 image under another name
                (out_dir / f"Firmware0{suffix}").write_bytes(image)
                total += size
        total += len(language_table("KQ" if suffix == "" else "KQS"))
    if total != REAL_SET_BYTES:
        sys.exit(f"stand-in set weighs {total} bytes, expected {REAL_SET_BYTES}")


# --- pictures -------------------------------------------------------------------------------


def icon_pixel(x, y):
    """128 x 128 application icon: a USB flash drive with a down arrow, in RGBA."""
    if 40 <= x < 88 and 8 <= y < 36:  # connector
        inner = 48 <= x < 80 and 16 <= y < 28
        return (200, 200, 200, 255) if not inner else (90, 90, 90, 255)
    if 28 <= x < 100 and 36 <= y < 120:  # body
        arrow = (56 <= x < 72 and 50 <= y < 86) or (86 <= y < 104 and abs(x - 63.5) < 104 - y)
        return (255, 255, 255, 255) if arrow else (14, 110, 180, 255)
    return (0, 0, 0, 0)


def icon128():
    size = 128
    pixels = bytearray()
    for y in reversed(range(size)):
        for x in range(size):
            r, g, b, a = icon_pixel(x, y)
            pixels += bytes((b, g, r, a))
    mask = bytes((size // 8) * size)  # alpha carries the shape; the AND mask stays clear
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    image = info + bytes(pixels) + mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 22)
    return directory + image


def write_pictures(payload_dir):
    write_badges(payload_dir)
    (payload_dir / "MainIcon.ico").write_bytes(icon128())


if __name__ == "__main__":
    commands = {"tables": write_tables, "pictures": write_pictures, "standins": write_standins}
    if len(sys.argv) != 3 or sys.argv[1] not in commands:
        sys.exit(__doc__)
    commands[sys.argv[1]](Path(sys.argv[2]))
