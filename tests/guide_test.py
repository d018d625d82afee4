"""The technician's guide against the tool: every text the tool shows (base/texts.h) is quoted in
the guide as the tool shows it, and every box the guide's table quotes is one the tool can show.

usage: guide_test.py TEXTS_H GUIDE
"""
import re
import sys
import unittest
from pathlib import Path

LITERAL_OR_NAME = re.compile(r'"(?:[^"\\]|\\.)*"|\w+')
ESCAPES = {'"': '"', "\\": "\\", "r": "\r", "n": "\n"}
# The captions a box of the tool may have.
BOX_CAPTIONS = ("kApplicationTitle", "kSuccessCaption", "kWarningCaption", "kWriteErrorCaption", "kErrorCaption",
                "kStickCheckCaption")
# A row of the guide's table of boxes: the caption and the text, each as code.
BOX_ROW = re.compile(r"^\| `([^`]+)` \| `([^`]+)` \|", re.M)


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


def template_pattern(template, final_stop):
    """A template as a pattern: each gap any text, and a full stop the default report may add."""
    fixed = [re.escape(part) for part in template.split("%s")]
    return re.compile("^" + "(.+)".join(fixed) + (r"\.?" if final_stop else "") + "$", re.S)


class TechniciansGuide(unittest.TestCase):
    def test_every_fixed_part_of_every_text_is_quoted_as_the_tool_shows_it(self):
        for name, text in TEXTS.items():
            for part in text.split("%s"):
                for line in re.split(r"[\r\n]", part):
                    if line.strip():
                        self.assertIn(line.strip(), GUIDE, f"{name}: {line.strip()!r} is not in the guide")

    def test_every_box_the_table_quotes_is_one_the_tool_shows(self):
        rows = BOX_ROW.findall(GUIDE)
        self.assertGreaterEqual(len(rows), 20)
        captions = {TEXTS[name] for name in BOX_CAPTIONS}
        for caption, text in rows:
            self.assertIn(caption, captions, text)
            # The default report, captioned with the title, ends a text with a full stop.
            report = caption == TEXTS["kApplicationTitle"]
            matches = [name for name, template in TEXTS.items() if template_pattern(template, report).match(text)]
            self.assertTrue(matches, f"«{caption}»: {text!r} is no text of the tool")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    TEXTS, GUIDE = shown_texts(sys.argv[1]), Path(sys.argv[2]).read_text(encoding="utf-8")
    unittest.main(argv=sys.argv[:1])
