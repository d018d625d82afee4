"""End-to-end tests of the change-log button and of the document it opens, in the tests' prefix and
in the one the run command makes."""
import os
import shutil
import subprocess
import time
import unittest
from pathlib import Path

from desktop import wait_for
from tool_case import (DAMAGED_CHANGE_LOG, EXE, TITLE, UNAVAILABLE, ToolCase, close_desktop, files_open_under,
                       open_desktop)
from wine_documents import VIEWER

CHANGES_PDF = Path(os.environ["KQ_CHANGES_PDF"])


def setUpModule():
    open_desktop()


def tearDownModule():
    close_desktop()


class ChangeLogTest(ToolCase):
    def setUp(self):
        super().setUp()
        # Wherever the tool sits, the document goes to the user's temporary folder.
        self.temp = next(self.desktop.prefix.glob("drive_c/users/*/Temp"))
        self.document = self.temp / "KQ" / "Changes.pdf"
        self.document.unlink(missing_ok=True)
        self.opened_before = len(self.desktop.opened_documents())

    def click_info(self):
        self.desktop.click_rect(self.desktop.form()["infobutton.rect"])

    def newly_opened(self):
        return self.desktop.opened_documents()[self.opened_before:]

    def wait_until_opened(self, count):
        return wait_for("the viewer", lambda: len(self.newly_opened()) == count)

    def test_click_writes_the_document_and_hands_exactly_it_to_the_viewer(self):
        self.start()
        self.click_info()
        self.wait_until_opened(1)
        self.assertRegex(self.newly_opened()[0], r"^C:\\users\\[^\\]+\\Temp\\KQ\\Changes\.pdf$")
        self.assertEqual(self.document.read_bytes(), CHANGES_PDF.read_bytes())
        self.assert_nothing_staged()
        # Clicked again, the document is written anew and opened once more.
        self.document.write_bytes(b"stale")
        self.click_info()
        self.wait_until_opened(2)
        self.assertEqual(self.document.read_bytes(), CHANGES_PDF.read_bytes())
        self.desktop.stop_tool()
        self.assertTrue(self.document.exists())

    def test_started_from_a_stick_the_document_goes_to_the_users_temporary_folder(self):
        desktop = self.desktop
        self.start(desktop.drive)
        self.click_info()
        self.wait_until_opened(1)
        written = list(desktop.prefix.glob("drive_c/users/*/Temp/KQ/Changes.pdf"))
        self.assertEqual(len(written), 1)
        self.assertEqual(written[0].read_bytes(), CHANGES_PDF.read_bytes())
        self.assertTrue(self.newly_opened()[0].endswith("\\Temp\\KQ\\Changes.pdf"), self.newly_opened())
        # The stick gained nothing, and the viewer holds nothing of it.
        self.assertEqual([p.name for p in desktop.drive.iterdir()], [EXE.name])
        self.assertLessEqual(files_open_under(desktop.drive), {str(desktop.drive / EXE.name)})

    def test_without_a_program_for_pdf_files_the_error_shows(self):
        desktop = self.desktop
        desktop.forget_viewer(".pdf")
        self.addCleanup(desktop.register_viewer, ".pdf")
        self.start()
        self.click_info()
        self.close_box(*UNAVAILABLE, "error")
        self.assertEqual(self.newly_opened(), [])

    def stand_in_viewer(self):
        """A program under the viewer's name that notes down what it is given, first on the PATH.
        Gives that PATH and the file of its notes."""
        folder = self.desktop.root / f"viewer-{self.id().rsplit('.', 1)[1]}"
        folder.mkdir()
        given = folder / "given.txt"
        (folder / VIEWER).write_text(f"#!/bin/sh\nprintf '%s\\n' \"$@\" >> '{given}'\n")
        (folder / VIEWER).chmod(0o755)
        return f"{folder}{os.pathsep}{os.environ['PATH']}", given

    def test_in_the_run_commands_prefix_the_document_reaches_the_viewer_first_on_the_path(self):
        search_path, given = self.stand_in_viewer()
        self.assertEqual(self.with_the_run_commands_documents(search_path), str(given.with_name(VIEWER)))
        self.start()
        self.click_info()
        # As a path of this machine, the only argument.
        [path] = wait_for("the viewer", lambda: given.exists() and given.read_text().splitlines())
        self.assertEqual(Path(path).resolve(), self.document.resolve())
        self.assertEqual(Path(path).read_bytes(), CHANGES_PDF.read_bytes())
        self.assertEqual(self.newly_opened(), [])

    def test_in_the_run_commands_prefix_without_the_viewer_since_the_error_shows(self):
        search_path, given = self.stand_in_viewer()
        self.with_the_run_commands_documents(search_path)
        # The prefix made with a viewer, set up again once it is gone.
        self.assertIsNone(self.with_the_run_commands_documents(""))
        self.start()
        self.click_info()
        self.close_box(*UNAVAILABLE, "error")
        self.assertFalse(given.exists())
        self.assertEqual(self.newly_opened(), [])

    def test_double_click_opens_the_document_twice(self):
        form = self.start()
        left, top, right, bottom = (int(v) for v in form["infobutton.rect"].split(","))
        self.desktop.double_click((left + right) // 2, (top + bottom) // 2)
        self.wait_until_opened(2)
        time.sleep(1)
        self.assertEqual(len(self.newly_opened()), 2)

    def test_press_released_outside_the_button_opens_nothing(self):
        form = self.start()
        left, top, right, bottom = (int(v) for v in form["infobutton.rect"].split(","))
        # Released on the row just below the button, then to its right.
        for x, y in (((left + right) // 2, bottom), (right, (top + bottom) // 2)):
            self.desktop.press((left + right) // 2, (top + bottom) // 2)
            self.desktop.point_at(x, y)
            self.desktop.release()
        # A click afterwards is the first thing that opens the document.
        self.click_info()
        self.wait_until_opened(1)
        time.sleep(1)
        self.assertEqual(len(self.newly_opened()), 1)

    def test_document_held_open_by_a_viewer_shows_the_error_and_opens_nothing(self):
        self.start()
        self.click_info()
        self.wait_until_opened(1)
        holder = subprocess.Popen(["wine", str(self.desktop.probe_exe), "hold",
                                   self.desktop.windows_path(self.document), "30"],
                                  env=self.desktop.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        try:
            self.assertEqual(holder.stdout.readline().strip(), b"holding=1")
            self.click_info()
            self.close_box(*UNAVAILABLE, "error")
            self.assertEqual(len(self.newly_opened()), 1)
        finally:
            holder.kill()
            holder.wait()

    def test_resting_the_pointer_on_the_button_shows_the_two_line_hint(self):
        form = self.start()
        left, top, right, bottom = (int(v) for v in form["infobutton.rect"].split(","))
        self.desktop.point_at(left + 8, top + 8)
        self.desktop.point_at(left + 12, top + 12)
        rested = time.monotonic()
        hint = wait_for("the hint", lambda: self.desktop.probe("hint") or None, timeout=5, interval=0.02)
        print(f"\n  hint shown {time.monotonic() - rested:.2f} s after the pointer came to rest", flush=True)
        hint_left, hint_top, hint_right, hint_bottom = (int(v) for v in hint["hint.rect"].split(","))
        # Another process cannot read a hint's text; its size and colours on screen tell enough.
        one_line = 13
        self.assertGreater(hint_bottom - hint_top, 2 * one_line, "the hint is not on two lines")
        self.assertLess(hint_bottom - hint_top, 3 * one_line + 10)
        pixels = self.desktop.screenshot().pixels(hint_left, hint_top, hint_right, hint_bottom)
        self.assertIn((255, 255, 225), pixels)  # the scheme's hint background
        self.assertIn((0, 0, 0), pixels)  # its text

    def test_without_its_temporary_folder_it_shows_the_error_and_writes_nothing_beside_the_tool(self):
        # The folder cannot be made: the temporary folder takes no new one.
        shutil.rmtree(self.document.parent, ignore_errors=True)
        mode = self.temp.stat().st_mode
        self.temp.chmod(0o555)
        self.addCleanup(self.temp.chmod, mode)
        self.start()
        self.click_info()
        self.close_box(*UNAVAILABLE, "error")
        self.assertEqual(self.newly_opened(), [])
        self.assert_nothing_staged()

    def test_damaged_document_is_neither_written_nor_opened(self):
        document = CHANGES_PDF.read_bytes()
        self.with_one_bit_flipped(document[len(document) // 2:len(document) // 2 + 32])
        self.start()
        self.click_info()
        self.close_box(*DAMAGED_CHANGE_LOG, "error")
        self.assertEqual(self.newly_opened(), [])
        self.assertFalse(self.document.exists())
        self.assertEqual(self.desktop.form()["visible"], "1")

    def test_missing_document_goes_to_the_default_error_report(self):
        self.without_payload("CHANGES", "CHANGEZ")
        self.start()
        self.click_info()
        self.close_box(TITLE, "Resource Changes not found.", "error")
        self.assertEqual(self.newly_opened(), [])
        self.assertFalse(self.document.exists())
        self.assertEqual(self.desktop.form()["visible"], "1")


def run(*command):
    return subprocess.run(command, check=True, stdout=subprocess.PIPE).stdout


class ChangeLogDocumentTest(unittest.TestCase):
    """The embedded document opens in any PDF program: it parses, embeds its fonts, renders."""

    def pages(self):
        info = run("pdfinfo", str(CHANGES_PDF)).decode()
        return int(next(line.split()[-1] for line in info.splitlines() if line.startswith("Pages:")))

    def test_document_is_a_several_page_pdf_with_embedded_fonts(self):
        self.assertGreaterEqual(self.pages(), 3)
        fonts = run("pdffonts", str(CHANGES_PDF)).decode().splitlines()[2:]
        self.assertTrue(fonts)
        for font in fonts:
            self.assertEqual(font.split()[-5], "yes", font)  # the "emb" column

    def test_a_typeset_sample_says_on_every_page_that_it_is_one(self):
        info = run("pdfinfo", str(CHANGES_PDF)).decode()
        if "make_change_log_pdf.py" not in info:
            self.skipTest("a real change log is embedded")
        for page in range(1, self.pages() + 1):
            text = " ".join(run("pdftotext", "-f", str(page), "-l", str(page), str(CHANGES_PDF), "-").decode().split())
            self.assertIn("ОБРАЗЕЦ для проверки программы. Это не список изменений в ПО терминалов KQ", text,
                          f"page {page}")

    def test_every_page_renders_with_russian_text(self):
        for page in range(1, self.pages() + 1):
            pages = ("-f", str(page), "-l", str(page))
            text = run("pdftotext", *pages, str(CHANGES_PDF), "-").decode()
            self.assertRegex(text, "[А-Яа-яЁё]{4,}", f"page {page}")
            picture = run("pdftoppm", *pages, "-r", "30", "-gray", str(CHANGES_PDF))
            magic, width, height, _, pixels = picture.split(maxsplit=4)
            self.assertEqual(magic, b"P5")
            self.assertEqual(len(pixels), int(width) * int(height))
            self.assertGreater(sum(1 for value in pixels if value < 128), 200, f"page {page} looks blank")
