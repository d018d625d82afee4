"""The firmware set's table, catalogue.txt beside this file, as the build's Python scripts and the
tests read it."""
from pathlib import Path
from typing import NamedTuple

TABLE = Path(__file__).with_name("catalogue.txt")


class Entry(NamedTuple):
    payload: str  # the name the executable carries the payload under
    file: str  # its file name in the drive root
    family: str  # "1769" or "SAME"
    kind: str  # "main", "edition" or "languages"
    edition: str  # an edition's display name in its family's language table, else ""

    def source(self, firmware_dir, payload_dir):
        """The file the build embeds: images come from the firmware folder, tables from payloads/."""
        return Path(payload_dir if self.kind == "languages" else firmware_dir) / self.payload


def entries():
    """The 30 entries in the order they are written."""
    rows = (line.split(None, 4) for line in TABLE.read_text(encoding="ascii").splitlines()
            if line.strip() and not line.startswith("#"))
    return [Entry(*row, *[""] * (5 - len(row))) for row in rows]
