"""End-to-end tests of sticks that fail under the tool: one that dies after some files or inside one,
a locked one, and a failing card whose root takes seconds to answer beside a good stick. None gets a
success box, none is left with a file unnamed or names one the run never opened, and the window
answers throughout."""
import re
import time
import unittest

from desktop import wait_for
from tool_case import EXPECTED, ToolCase, close_desktop, open_desktop, write_error_box


def setUpModule():
    open_desktop()


def tearDownModule():
    close_desktop()


class FailingStickTest(ToolCase):
    def close_gone_box(self, written):
        """Closes the box of a stick that stopped answering once it held the files written."""
        self.close_box(*write_error_box("gone", changed=True, undeletable=written), "error")
        self.assertEqual(self.desktop.boxes(), [])
        self.assertEqual(self.desktop.form()["savebutton.enabled"], "1")

    def test_stick_that_fails_part_way_names_the_files_it_wrote_and_no_success_box_follows(self):
        # Every call fails once ten files are written: neither their read-back nor their delete can
        # be done, and no search can tell them gone. The eleventh copy fails on a name that was free
        # and can no more be shown free; then the drive's root is silent, and no copy is tried after.
        backing, log = self.mount_drive(dies_after_files=10)
        self.start()
        self.wait_for_drives("E:\\")
        clicked = time.monotonic()
        self.write_set()
        self.desktop.wait_for_box()
        print(f"\n  write run on a stick that dies after its tenth file, click to box: "
              f"{time.monotonic() - clicked:.2f} s", flush=True)
        self.close_gone_box(list(EXPECTED)[:11])
        self.assertEqual(sorted(p.name for p in backing.iterdir()), sorted(list(EXPECTED)[:10]))
        tried = log.read_text()
        self.assertIn(f"refused {list(EXPECTED)[10]}\n", tried)
        self.assertNotIn(list(EXPECTED)[11], tried)
        self.assert_nothing_staged()
        # Unmounted before the common tear-down lists the drive, which no longer answers.
        self.doCleanups()

    def test_stick_that_dies_inside_a_file_names_that_file_too_and_ends_the_run_at_once(self):
        # An I/O error 64 KB into the tenth file, and every call after it.
        backing, log = self.mount_drive(dies_in="KQ_arm.amd@65536")
        self.start()
        self.wait_for_drives("E:\\")
        clicked = time.monotonic()
        self.write_set()
        self.desktop.wait_for_box()
        print(f"\n  write run on a stick that dies in its tenth file, click to box: {time.monotonic() - clicked:.2f} s",
              flush=True)
        written = list(EXPECTED)[:10]
        self.close_gone_box(written)
        journal = self.journal()
        self.assertRegex(journal, r"\r\n  KQ_arm\.amd \(\d+ Б\): сбой на шаге «копирование», ERROR_NOT_READY \(21\)"
                                  r"[^\r\n]*; не удалось удалить или проверить, ERROR_NOT_READY \(21\)")
        self.assertIn("Диск перестал отвечать: остальные файлы не записывались\r\n", journal)
        for name in list(EXPECTED)[10:]:
            self.assertRegex(journal, rf"\r\n  {re.escape(name)} \(\d+ Б\): не записывался\r\n")
        print("  its journal: " + next(line for line in journal.splitlines() if "KQ_arm.amd" in line), flush=True)
        # Nothing after the tenth file was tried, and nothing else is on the stick.
        self.assertEqual(sorted(p.name for p in backing.iterdir()), sorted(written))
        self.assertNotIn(list(EXPECTED)[10], log.read_text())
        self.assert_nothing_staged()
        self.doCleanups()

    def test_locked_stick_keeps_its_earlier_set_and_names_no_file(self):
        desktop = self.desktop
        older = {name: b"older " + name.encode() for name in EXPECTED}
        backing, log = self.mount_drive(read_only=1)
        for name, content in older.items():
            (backing / name).write_bytes(content)
        self.start()
        self.wait_for_drives("E:\\")
        self.write_set()
        # Wine answers a read-only medium's writes as access denied, not as write-protected: a
        # refusal. Its deletes say done and take nothing away; each name is waited for in vain.
        self.close_box(*write_error_box("refused"), "error", timeout=90)
        self.assertEqual(desktop.boxes(), [])
        self.assertEqual({p.name: p.read_bytes() for p in backing.iterdir()}, older)
        self.assert_nothing_staged()
        # Unmounted before the common tear-down empties the drive, which it could not.
        self.doCleanups()

    def test_card_whose_root_takes_seconds_holds_up_neither_the_window_nor_the_stick_after_it(self):
        desktop = self.desktop
        # D:, before the stick in letter order, a failing card whose root takes 3 s each look.
        self.mount_drive(at=desktop.card_slot, root_delay_ms=3000)
        self.start()
        form = self.wait_for_drives("E:\\", timeout=15)
        self.assertEqual(form["devicebox.selected"], "0")
        # A window that waited on the card would leave each of these unanswered for seconds.
        answers = desktop.probe("watch-answers", "8000", "1000")
        print(f"\n  longest the window went unanswered beside a 3 s root: {answers['longest_unanswered_ms']} ms",
              flush=True)
        self.assertEqual(answers["answered"], "1")
        # The card, once it answers, comes after the stick, which keeps the selection.
        form = wait_for("the card to be listed", lambda: (lambda f: f if f["devicebox.items"] == "E:\\|D:\\" else None)(
            desktop.form()), timeout=30)
        self.assertEqual(form["devicebox.selected"], "0")


if __name__ == "__main__":
    unittest.main()
