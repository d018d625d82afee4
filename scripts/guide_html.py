#!/usr/bin/env python3
"""The technician's guide as one HTML file handed out beside the executable: any browser on any
Windows opens it, with no other file and no network, and prints it on A4. Its name is ASCII, which
survives any archive.

usage: guide_html.py GUIDE_MD OUT_HTML
"""
import html
import sys
from pathlib import Path

try:
    import markdown
    from markdown.extensions.toc import slugify_unicode
except ImportError:
    sys.exit("guide_html.py: Python's markdown module is missing: scripts/install-deps.sh installs python3-markdown")

# Read on a screen, a narrow column in the system's own fonts; printed, the page's full width in
# smaller type, a table row or a rule never split over two pages and a heading never left at a
# page's foot. Windows 7's Internet Explorer reads all of it.
STYLE = """
body { font-family: "Segoe UI", Tahoma, Arial, sans-serif; font-size: 11pt; line-height: 1.4;
       color: #000; background: #fff; max-width: 60em; margin: 1em auto; padding: 0 1em; }
h1 { font-size: 1.6em; } h2 { font-size: 1.3em; margin-top: 1.6em; } h3 { font-size: 1.1em; }
code { font-family: Consolas, "Courier New", monospace; font-size: 0.95em; background: #f0f0f0;
       white-space: pre-wrap; word-wrap: break-word; }
table { border-collapse: collapse; width: 100%; margin: 1em 0; }
th, td { border: 1px solid #888; padding: 0.3em 0.4em; vertical-align: top; text-align: left; }
th { background: #e4e4e4; }
blockquote { border-left: 4px solid #c00; margin: 1em 0; padding: 0.2em 1em; background: #fff4f4; }
.toc ul { padding-left: 1.5em; }
@page { size: A4; margin: 15mm 12mm; }
@media print {
  body { font-size: 9pt; max-width: none; margin: 0; padding: 0; }
  a { color: #000; text-decoration: none; }
  code { background: none; }
  thead { display: table-header-group; }
  tr, blockquote, li { page-break-inside: avoid; break-inside: avoid; }
  h1, h2, h3 { page-break-after: avoid; break-after: avoid; }
  .toc { display: none; }
}
"""


def guide_html(source):
    """The page: the guide's title, a list of its sections, the guide."""
    converter = markdown.Markdown(extensions=["tables", "sane_lists", "toc"],
                                  extension_configs={"toc": {"slugify": slugify_unicode, "toc_depth": "2-2"}},
                                  output_format="html")
    body = converter.convert(source)
    title = source.splitlines()[0].lstrip("# ").strip()
    heading_end = body.index("</h1>") + len("</h1>")
    return ('<!DOCTYPE html>\n<html lang="ru">\n<head>\n<meta charset="utf-8">\n'
            '<meta http-equiv="X-UA-Compatible" content="IE=edge">\n'
            '<meta name="viewport" content="width=device-width, initial-scale=1">\n'
            f"<title>{html.escape(title)}</title>\n<style>{STYLE}</style>\n</head>\n<body>\n"
            f"{body[:heading_end]}\n{converter.toc}{body[heading_end:]}\n</body>\n</html>\n")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    page = guide_html(Path(sys.argv[1]).read_text(encoding="utf-8"))
    Path(sys.argv[2]).write_text(page, encoding="utf-8", newline="\r\n")
