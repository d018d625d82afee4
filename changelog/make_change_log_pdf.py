#!/usr/bin/env python3
"""Typesets the change log (a small markup: "# " title, "## " heading, "- " item, blank line
between paragraphs, any other line a paragraph) as an A5 PDF with an embedded Cyrillic font.

usage: make_change_log_pdf.py SOURCE.txt OUT.pdf

The document carries fixed metadata, so the same source always gives the same bytes. The text in
the repository is a sample for development builds, and every page says so: an operator must not
take it for the product's list of changes.
"""
import sys
from pathlib import Path

import cairo

PAGE_WIDTH, PAGE_HEIGHT = 420, 595  # A5 in points
MARGIN = 42
FONT = "DejaVu Sans"
STYLES = {  # kind: (size, bold, space before, line height)
    "title": (16, True, 0, 21),
    "subtitle": (11, False, 2, 15),
    "heading": (13, True, 14, 18),
    "item": (10, False, 4, 13.5),
    "text": (10, False, 6, 13.5),
}
BULLET_INDENT = 12
SAMPLE_NOTE = ("ОБРАЗЕЦ для проверки программы. Это не список изменений в ПО терминалов KQ: "
               "не руководствуйтесь им.")
SAMPLE_COLOUR = (0.7, 0, 0)
CREATOR = "make_change_log_pdf.py"


def blocks(source):
    for line in source.splitlines():
        line = line.strip()
        if not line:
            continue
        if line.startswith("# "):
            yield "title", line[2:]
        elif line.startswith("## "):
            yield "heading", line[3:]
        elif line.startswith("- "):
            yield "item", line[2:]
        else:
            yield ("subtitle" if line and not line.endswith(".") and len(line) < 60 else "text"), line


class Typesetter:
    def __init__(self, path):
        self.surface = cairo.PDFSurface(path, PAGE_WIDTH, PAGE_HEIGHT)
        self.surface.set_metadata(cairo.PDFMetadata.TITLE, "ОБРАЗЕЦ — не список изменений в ПО терминалов KQ")
        self.surface.set_metadata(cairo.PDFMetadata.CREATOR, CREATOR)
        self.surface.set_metadata(cairo.PDFMetadata.CREATE_DATE, "2026-12-07T00:00:00Z")
        self.context = cairo.Context(self.surface)
        self.page = 1
        self.y = MARGIN

    def font(self, size, bold):
        weight = cairo.FONT_WEIGHT_BOLD if bold else cairo.FONT_WEIGHT_NORMAL
        self.context.select_font_face(FONT, cairo.FONT_SLANT_NORMAL, weight)
        self.context.set_font_size(size)

    def lines(self, text, width):
        words, line, result = text.split(), "", []
        for word in words:
            candidate = f"{line} {word}" if line else word
            if self.context.text_extents(candidate).x_advance > width and line:
                result.append(line)
                line = word
            else:
                line = candidate
        return result + [line]

    def sample_note(self):
        self.font(8, True)
        self.context.set_source_rgb(*SAMPLE_COLOUR)
        for number, line in enumerate(self.lines(SAMPLE_NOTE, PAGE_WIDTH - 2 * MARGIN)):
            self.context.move_to(MARGIN, 16 + 10 * number)
            self.context.show_text(line)
        self.context.set_source_rgb(0, 0, 0)

    def footer(self):
        self.sample_note()
        self.font(8, False)
        label = f"— {self.page} —"
        self.context.move_to((PAGE_WIDTH - self.context.text_extents(label).x_advance) / 2, PAGE_HEIGHT - 22)
        self.context.show_text(label)

    def new_page(self):
        self.footer()
        self.context.show_page()
        self.page += 1
        self.y = MARGIN

    def block(self, kind, text):
        size, bold, before, leading = STYLES[kind]
        self.font(size, bold)
        indent = BULLET_INDENT if kind == "item" else 0
        lines = self.lines(text, PAGE_WIDTH - 2 * MARGIN - indent)
        # A heading keeps at least two lines of what follows on its page.
        needed = before + leading * (len(lines) + (2 if kind == "heading" else 0))
        if self.y + needed > PAGE_HEIGHT - MARGIN and self.y > MARGIN:
            self.new_page()
            self.font(size, bold)
        elif self.y > MARGIN:
            self.y += before
        for number, line in enumerate(lines):
            self.y += leading
            if kind == "item" and number == 0:
                self.context.move_to(MARGIN, self.y)
                self.context.show_text("•")
            self.context.move_to(MARGIN + indent, self.y)
            self.context.show_text(line)

    def finish(self):
        self.footer()
        self.surface.finish()


def is_sample(pdf):
    """Whether a PDF document is one typeset here, so a sample, wherever it has been copied to: its
    document information names this program as the creator, in plain text."""
    return f"/Creator ({CREATOR})".encode("ascii") in Path(pdf).read_bytes()


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    with open(sys.argv[1], encoding="utf-8") as source:
        text = source.read()
    typesetter = Typesetter(sys.argv[2])
    for kind, content in blocks(text):
        typesetter.block(kind, content)
    typesetter.finish()


if __name__ == "__main__":
    main()
