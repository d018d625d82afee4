"""The technician's guide against the tool: every text the tool shows (base/texts.h) is quoted in
the guide as the tool shows it, both in docs/guide-ru.md and in the HTML copy the build hands out
beside the executable; every box the guide's table quotes is one the tool can show; and the figures
the guide and the README give are those the code and the build make.

usage: guide_test.py SOURCES GUIDE_HTML FIRMWARE
SOURCES: the checkout; GUIDE_HTML: the guide as built; FIRMWARE: the folder of the images the build
embeds.
"""
import math
import re
import sys
import unittest
from html.parser import HTMLParser
from pathlib import Path

LITERAL_OR_NAME = re.compile(r'"(?:[^"\\]|\\.)*"|\w+')
ESCAPES = {'"': '"', "\\": "\\", "r": "\r", "n": "\n"}
# The captions a box of the tool may have.
BOX_CAPTIONS = ("kApplicationTitle", "kSuccessCaption", "kWarningCaption", "kWriteErrorCaption", "kErrorCaption",
                "kStickCheckCaption")
CODE_SPAN = re.compile(r"`([^`]+)`")
# A menu item's access key: the letter after "&", which the menu shows underlined.
ACCESS_KEY = re.compile(r"&(.)")
NBSP = "\u00a0"
# Where Russian typography wants a non-breaking space, and the guide outside its quotes of the tool
# has a breaking one.
BREAKING_SPACES = ((re.compile(r"\d (?:[КМГ]?Б|с|мс|%)(?!\w)"), "between a number and its unit"),
                   (re.compile(r"Windows \d"), "between «Windows» and its version"),
                   (re.compile(r"\S —"), "before a dash"))
# How Windows formats a stick: (file system, cluster size); NTFS spends a file record on each name.
FORMATS = (("FAT32 up to 8 GB", 4096), ("NTFS", 4096), ("FAT32 of 32 GB", 16384), ("exFAT up to 32 GB", 32768),
           ("exFAT over 32 GB", 131072))
# What a technician reads on one screen before anything else, and the guide as a whole, in words as
# `wc -w` counts them in a UTF-8 locale, where a non-breaking space parts words as str.split does.
SHORT_SECTION, SHORT_WORDS, GUIDE_WORDS = "Коротко", 150, 2200


def evaluate(expression, macros):
    """The text of a string expression of C++: literals and macro names, side by side."""
    text = ""
    for part in LITERAL_OR_NAME.findall(expression):
        text += re.sub(r"\\(.)", lambda m: ESCAPES[m[1]], part[1:-1]) if part.startswith('"') else macros[part]
    return text


def shown_texts(header):
    """Name -> text of every macro and constant the header defines."""
    source = Path(header).read_text(encoding="utf-8")
    texts = {}
    for name, expression in re.findall(r"^#define (KQ_\w+) (.+)$", source, re.M):
        texts[name] = evaluate(expression, texts)
    for name, expression in re.findall(r"inline constexpr char (k\w+)\[\] =\s*(.*?);", source, re.S):
        texts[name] = evaluate(expression, texts)
    return texts


def as_shown(text):
    """The text as the tool shows it: a menu item without the & before its access key."""
    return ACCESS_KEY.sub(r"\1", text)


def template_pattern(template, final_stop):
    """A template as a pattern: each gap any text, and a full stop the default report may add."""
    fixed = [re.escape(part) for part in template.split("%s")]
    return re.compile("^" + "(.+)".join(fixed) + (r"\.?" if final_stop else "") + "$", re.S)


class GuidePage(HTMLParser):
    """What a browser shows of the HTML guide: its text, its tables as rows of cells (each the code
    spans it holds), and what it would fetch from elsewhere."""

    def __init__(self, page):
        super().__init__()
        self.text, self.style, self.tables, self.fetches = "", "", [], []
        self._open, self._cell = [], None
        self.feed(page)

    def handle_starttag(self, tag, attrs):
        self._open.append(tag)
        self.fetches += [f"<{tag} {name}={value}>" for name, value in attrs
                         if name in ("src", "href") and not (value or "").startswith("#")]
        if tag in ("link", "script", "img", "iframe", "object", "embed"):
            self.fetches.append(f"<{tag}>")
        if tag == "table":
            self.tables.append([])
        elif tag == "tr" and self.tables:
            self.tables[-1].append([])
        elif tag in ("td", "th") and self.tables and self.tables[-1]:
            self._cell = []
            self.tables[-1][-1].append(self._cell)

    def handle_endtag(self, tag):
        if tag in ("td", "th"):
            self._cell = None
        while self._open and self._open.pop() != tag:
            pass

    def handle_data(self, data):
        if "style" in self._open:
            self.style += data
        elif "title" not in self._open:
            self.text += data
        if self._cell is not None and "code" in self._open:
            self._cell.append(data)


def markdown_tables(guide):
    """The guide's tables as the HTML holds them: rows of cells, each the code spans it holds."""
    tables, rows = [], None
    for line in guide.splitlines() + [""]:
        if line.startswith("|") and not re.match(r"^\|[-| ]+\|$", line):
            rows = rows if rows is not None else []
            rows.append([CODE_SPAN.findall(cell) for cell in line.strip("|").split(" | ")])
        elif rows is not None and not line.startswith("|"):
            tables.append(rows)
            rows = None
    return tables


def quoted_boxes(tables):
    """(caption, text) of every box the tables quote: a caption as a cell's one code span, and the
    box texts as the code spans of the cell after it."""
    return [(row[0][0], text) for rows in tables for row in rows if len(row) > 1 and len(row[0]) == 1
            for text in row[1]]


def constants(path):
    """Name -> value of every integer constant a C++ file defines as a product of literals."""
    source = Path(path).read_text(encoding="utf-8")
    return {name: math.prod(int(factor) for factor in product.split("*"))
            for name, product in re.findall(r"constexpr [\w:]+ (k\w+) = ([\d *]+);", source)}


def budgets(path):
    """Name -> (a file's, the whole run's) patience in seconds, as holder_patience.h sets them."""
    source = Path(path).read_text(encoding="utf-8")
    return {name: (int(entry) / 1000, int(run) / 1000) for name, entry, run in re.findall(
        r"(k\w+Budgets)\{std::chrono::milliseconds\{(\d+)\},\s*std::chrono::milliseconds\{(\d+)\}\}", source)}


def grouped(value, separator):
    return f"{value:,}".replace(",", separator)


def figures(sources, firmware):
    """(what, how the guide says it, how the README says it) for every figure that follows from the
    code or from what the build embeds."""
    sys.path.insert(0, str(sources / "firmware"))
    import catalogue
    sizes = [entry.source(firmware, sources / "payloads").stat().st_size for entry in catalogue.entries()]
    room = constants(sources / "firmware/room_check.cpp")

    def asked(cluster, ntfs, staging):
        """What a run asks of a stick that holds no file of the set at its tightest moment: the
        clusters its new names take, the files copied so far and, when the tool runs from a
        folder on the stick, the staging file beside the copy being made."""
        names = (len(sizes) * room["kUsualFileRecordBytes"] + room["kIndexBlockBytes"] if ntfs
                 else len(sizes) * room["kNewNameBytes"])
        clusters = [-(-size // cluster) for size in sizes]
        copied = [sum(clusters[:i + 1]) + (clusters[i] if staging else 0) for i in range(len(sizes))]
        return (-(-names // cluster) + max(copied)) * cluster

    def megabytes(size, rounding=round):
        """In tenths: the tool rounds up what it asks for."""
        return rounding(size * 10 / room["kMegabyte"]) / 10

    def ru(value):
        return f"{value:.1f}".replace(".", ",").removesuffix(",0")

    def en(value):
        return f"{value:.1f}".removesuffix(".0")

    def room_range(staging):
        rooms = [asked(cluster, system == "NTFS", staging) for system, cluster in FORMATS]
        return megabytes(min(rooms), math.ceil), megabytes(max(rooms), math.ceil)

    total = sum(sizes)
    (low, high), (staged_low, staged_high) = room_range(False), room_range(True)
    budget = budgets(sources / "firmware/holder_patience.h")
    (file_wait, run_wait), (delete_wait, deletes_wait) = budget["kStepBudgets"], budget["kCountOutBudgets"]
    journal = megabytes(constants(sources / "journal/journal.h")["kLimitBytes"])
    # The guide gives no waits: a technician does nothing with them.
    return [
        ("the set's size", f"{grouped(total, NBSP)}{NBSP}байт, это {ru(megabytes(total))}{NBSP}МБ",
         f"{grouped(total, ',')} bytes ({en(megabytes(total))} MB"),
        ("the room asked", f"от {ru(low)} до {ru(high)}{NBSP}МБ", f"{en(low)} to {en(high)} MB"),
        ("the room asked by a tool run from a folder on the stick",
         f"от {ru(staged_low)} до {ru(staged_high)}{NBSP}МБ", f"{en(staged_low)} to {en(staged_high)} MB"),
        ("patience with a held file", None, f"{en(file_wait)} s a file and {en(run_wait)} s a run"),
        ("patience deleting wrong files", None, f"{en(delete_wait)} s a file more, {en(deletes_wait)} s in all"),
        ("the journal's size", f"не больше {ru(journal)}{NBSP}МБ журнала", f"the newest {en(journal)} MB"),
    ]


class TechniciansGuide(unittest.TestCase):
    def test_every_fixed_part_of_every_text_is_quoted_as_the_tool_shows_it(self):
        for document, quoted in (("guide-ru.md", GUIDE), ("guide-ru.html", PAGE.text)):
            for name, text in TEXTS.items():
                for part in as_shown(text).split("%s"):
                    for line in re.split(r"[\r\n]", part):
                        if line.strip():
                            self.assertIn(line.strip(), quoted, f"{document}, {name}: {line.strip()!r} is not quoted")

    def test_every_access_key_is_named_beside_its_item(self):
        # The letter the menu underlines, which picks the item after Alt+Space.
        keyed = {name: (as_shown(text), key[1].upper()) for name, text in TEXTS.items()
                 if (key := ACCESS_KEY.search(text))}
        self.assertGreaterEqual(len(keyed), 2)
        for document, quoted, mark in (("guide-ru.md", GUIDE, "`"), ("guide-ru.html", PAGE.text, "")):
            for name, (item, key) in keyed.items():
                said = f"{mark}{item}{mark} (клавиша {key})"
                self.assertTrue(said in re.sub(r"[ \r\n]+", " ", quoted), f"{document}, {name}: no {said!r}")

    def test_every_box_the_table_quotes_is_one_the_tool_shows(self):
        captions = {TEXTS[name] for name in BOX_CAPTIONS}
        for document, tables in (("guide-ru.md", markdown_tables(GUIDE)), ("guide-ru.html", PAGE.tables)):
            boxes = quoted_boxes(tables)
            self.assertGreaterEqual(len(boxes), 20, document)
            for caption, text in boxes:
                self.assertIn(caption, captions, f"{document}: {text}")
                # The default report, captioned with the title, ends a text with a full stop.
                report = caption == TEXTS["kApplicationTitle"]
                matches = [name for name, template in TEXTS.items() if template_pattern(template, report).match(text)]
                self.assertTrue(matches, f"{document}, «{caption}»: {text!r} is no text of the tool")

    def test_html_copy_shows_the_tables_as_tables_fetches_nothing_and_prints_on_a4(self):
        shape = [[len(row) for row in rows] for rows in markdown_tables(GUIDE)]
        self.assertEqual([[len(row) for row in rows] for rows in PAGE.tables], shape)
        self.assertEqual(PAGE.fetches, [])
        self.assertRegex(PAGE.style, r"@page\s*\{[^}]*size:\s*A4")

    def test_figures_are_those_of_the_code_and_the_build(self):
        for what, guide, readme in FIGURES:
            for document, text, said in (("guide-ru.md", GUIDE, guide), ("guide-ru.html", PAGE.text, guide),
                                         ("README.md", README, readme)):
                # A line may end anywhere a breaking space stands.
                if said is not None:
                    self.assertTrue(said in re.sub(r"[ \r\n]+", " ", text),
                                    f"{document} does not say {what} as {said!r}")

    def test_russian_typography_outside_the_tools_texts_and_one_name_for_the_stick(self):
        prose = CODE_SPAN.sub("", GUIDE)
        for pattern, where in BREAKING_SPACES:
            self.assertEqual(pattern.findall(prose), [], f"a breaking space {where}")
        # The tool's name for it is given once; the guide says «флешка».
        self.assertEqual(prose.count("USB-Flash"), 1)

    def test_guide_opens_with_a_short_section_and_fits_its_length(self):
        sections = re.split(r"^## ", GUIDE, flags=re.M)
        self.assertEqual(sections[1].splitlines()[0], SHORT_SECTION)
        self.assertLess(len(f"## {sections[1]}".split()), SHORT_WORDS)
        self.assertLessEqual(len(GUIDE.split()), GUIDE_WORDS)

    def test_readme_fits_on_a_few_screens(self):
        self.assertLessEqual(len(README.split()), 1800)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    SOURCES, FIRMWARE = Path(sys.argv[1]), Path(sys.argv[3])
    TEXTS = shown_texts(SOURCES / "base/texts.h")
    GUIDE = (SOURCES / "docs/guide-ru.md").read_text(encoding="utf-8")
    README = (SOURCES / "README.md").read_text(encoding="utf-8")
    PAGE = GuidePage(Path(sys.argv[2]).read_text(encoding="utf-8"))
    FIGURES = figures(SOURCES, FIRMWARE)
    unittest.main(argv=sys.argv[:1])
