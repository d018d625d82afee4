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

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "firmware"))
import catalogue  # noqa: E402

# Every stand-in image begins with it, and the build marks an executable that embeds one
# (stand_in_mark.py), wherever the image came from.
STAND_IN_MARKER = "KQ STAND-IN IMAGE, NOT FIRMWARE"
# Family: (its smallest edition image, step between editions), as the real images weigh.
IMAGE_SIZES = {"1769": (477_280, 63), "SAME": (482_021, 67)}
# Added to the last SAME edition so the whole set weighs what the real one does.
SIZE_TOP_UP = 10
REAL_SET_BYTES = 13_441_213


def editions(family):
    return [entry for entry in catalogue.entries() if entry.family == family and entry.kind == "edition"]


def language_table(family):
    out = bytearray()
    for number, edition in enumerate(editions(family), start=1):
        file_name = edition.file.encode("ascii")
        display = edition.edition.encode("ascii")
        rest = 2 + len(display) + len(file_name) + 1
        out += struct.pack("<IHH", number, rest, len(display)) + display + file_name + b"\0"
    return bytes(out)


def write_tables(payload_dir):
    for entry in catalogue.entries():
        if entry.kind == "languages":
            (payload_dir / entry.payload).write_bytes(language_table(entry.family))


def standin_image(payload_name, size):
    # Readable marker first: its first words are no valid stack pointer or reset vector,
    # so no boot loader could mistake the file for a vector table.
    marker = (f"{STAND_IN_MARKER}. Build test data for {payload_name}; "
              "never load it into a terminal.\n").encode("ascii")
    body = bytearray(marker)
    counter = 0
    seed = payload_name.encode("ascii")
    while len(body) < size:
        body += hashlib.sha256(seed + counter.to_bytes(4, "little")).digest()
        counter += 1
    return bytes(body[:size])


def is_stand_in(image):
    """Whether an image file is one made here, however it was named or copied."""
    marker = STAND_IN_MARKER.encode("ascii")
    with open(image, "rb") as file:
        return file.read(len(marker)) == marker


def write_standins(out_dir):
    out_dir.mkdir(parents=True, exist_ok=True)
    total = 0
    for entry in catalogue.entries():
        if entry.kind == "languages":
            total += len(language_table(entry.family))
            continue
        family = editions(entry.family)
        # The main image is the family's first edition under another name, as in the real set.
        edition = family[0] if entry.kind == "main" else entry
        smallest, step = IMAGE_SIZES[entry.family]
        size = smallest + step * family.index(edition) + (SIZE_TOP_UP if edition == editions("SAME")[-1] else 0)
        (out_dir / entry.payload).write_bytes(standin_image(edition.payload, size))
        total += size
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
