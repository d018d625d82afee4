"""End-to-end tests of the window, the drive list and the firmware write run."""
import os
import re
import shutil
import time
import unittest
from pathlib import Path

from desktop import wait_for
from signing import signed_with_a_key_file
from tool_case import (BUTTON_FACE, CAPTION, DAMAGED_FIRMWARE, EXE, EXPECTED, FULL_VERSION, MARKED_TITLE, PROBE,
                       PROMPT_CONNECT, PROMPT_SELECT, TITLE, VERSION, ToolCase, close_desktop, icon_kind, open_desktop,
                       write_error_box)

PLANTED_LIBRARY = Path(os.environ["KQ_PLANTED_LIBRARY"])
# Libraries that are none of Windows' known system libraries, so Windows looks for them in the
# program's own folder first. version.dll is not among them: Wine's own shell32 imports it at the
# start of every program, which Windows' does not; the executable's import table shows the tool
# does not.
UNPROTECTED_LIBRARIES = ("comctl32", "uxtheme", "dwmapi", "propsys", "cryptbase", "cryptsp", "winmm",
                         "msimg32", "bcrypt", "userenv", "wtsapi32", "sspicli", "secur32", "oleacc",
                         "dwrite", "windowscodecs", "explorerframe", "riched20", "mpr", "dbghelp")


def setUpModule():
    open_desktop()


def tearDownModule():
    close_desktop()


class ToolTest(ToolCase):
    def test_typical_use_writes_the_whole_set(self):
        desktop = self.desktop
        started = time.monotonic()
        form = self.start()
        # The design-time state, before the first tick has looked at any drive.
        self.assertEqual((form["caption"], form["fullver.text"]), (CAPTION, FULL_VERSION))
        self.assertEqual(form["savebutton.enabled"], "0")
        self.assertEqual((form["label1.text"], form["devicebox.visible"], form["devicebox.items"]),
                         (PROMPT_SELECT, "1", ""))
        self.assertEqual((form["maximizebox"], form["sizable"]), ("0", "0"))
        left, top, width, height = (int(v) for v in form["client"].split(","))
        self.assertEqual((width, height), (354, 81))
        frame = [int(v) for v in form["rect"].split(",")]
        self.assertLessEqual(abs((frame[0] + frame[2]) - 1024), 1)
        self.assertLessEqual(abs((frame[1] + frame[3]) - 768), 1)
        self.assertEqual(desktop.screenshot().pixel(left + 120, top + 35), BUTTON_FACE)

        form = self.wait_for_drives("E:\\")
        found_after = time.monotonic() - started
        print(f"\n  drive listed {found_after:.2f} s after start", flush=True)
        self.assertEqual((form["devicebox.selected"], form["savebutton.enabled"], form["label1.text"]),
                         ("0", "1", PROMPT_SELECT))
        colours = self.prompt_pixels(form)
        self.assertIn((0, 0, 0), colours)
        self.assertNotIn((255, 0, 0), colours)
        # The whole prompt shows left of the list.
        prompt_right = int(form["label1.rect"].split(",")[2])
        self.assertLessEqual(prompt_right, int(form["devicebox.rect"].split(",")[0]))

        clicked = time.monotonic()
        self.write_set()
        desktop.wait_for_box()
        print(f"  write run, click to first box: {time.monotonic() - clicked:.2f} s", flush=True)
        self.close_success_boxes()
        wait_for("the write button", lambda: desktop.form().get("savebutton.enabled") == "1")
        self.assert_drive_holds_the_set()
        self.assert_nothing_staged()
        # The floppy letter and the fixed disk were never offered.
        self.assertEqual(desktop.form()["devicebox.items"], "E:\\")

    def test_signed_copy_passes_its_check_at_start_writes_the_set_and_opens_the_change_log(self):
        # Signed by scripts/sign.sh, the signature appended last.
        done, signed = signed_with_a_key_file(Path(os.environ["KQ_SCRIPTS"]), EXE, self.desktop.root / "signing")
        self.assertEqual(done.returncode, 0, done.stderr)
        signed.rename(self.app_dir / EXE.name)
        self.write_set_and_open_the_change_log(self.start())

    def test_what_the_tests_are_given_is_theirs_alone(self):
        # The tool, its inputs and the scripts, copied for the user the tests run as.
        given = Path(os.environ["KQ_SCRIPTS"]).parent
        for path in [given, *(p for p in given.rglob("*") if "__pycache__" not in p.parts)]:
            info = path.lstat()
            self.assertEqual((info.st_uid, info.st_mode & 0o077), (os.getuid(), 0), path)

    def test_older_set_is_replaced_whole(self):
        desktop = self.desktop
        for name in EXPECTED:
            (desktop.drive / name).write_bytes(b"old firmware " * 1000)
        self.start()
        self.wait_for_drives("E:\\")
        self.write_set()
        self.close_success_boxes()
        self.assert_drive_holds_the_set()

    def test_read_only_destination_file_fails_the_run_but_not_the_others(self):
        desktop = self.desktop
        for name in EXPECTED:
            (desktop.drive / name).write_bytes(b"old")
        (desktop.drive / "KQ_geo.gel").chmod(0o444)
        self.start()
        self.wait_for_drives("E:\\")
        self.write_set()
        self.close_box("Ошибка записи", 'Ошибка записи на "E:\\"', "error")
        self.assert_drive_holds_the_set(except_for={"KQ_geo.gel"})
        self.assertEqual((desktop.drive / "KQ_geo.gel").read_bytes(), b"old")
        self.assert_nothing_staged()
        self.assertEqual(desktop.form()["savebutton.enabled"], "1")

    def test_drive_unplugged_after_listing_stays_listed_and_every_copy_fails(self):
        desktop = self.desktop
        self.start()
        self.wait_for_drives("E:\\")
        desktop.unplug("E")
        time.sleep(1.5)  # at least one tick with the drive gone
        form = desktop.form()
        self.assertEqual((form["devicebox.items"], form["devicebox.selected"], form["savebutton.enabled"]),
                         ("E:\\", "0", "1"))
        self.write_set()
        self.close_box(*write_error_box("gone"), "error")
        self.assertEqual(list(desktop.drive.iterdir()), [])
        self.assert_nothing_staged()

    def test_stick_folder_the_tool_may_not_write_to_is_a_refusal_and_changes_nothing(self):
        desktop = self.desktop
        desktop.drive.chmod(0o555)
        self.start()
        self.wait_for_drives("E:\\")
        self.write_set()
        self.close_box(*write_error_box("refused"), "error")
        self.assertEqual(list(desktop.drive.iterdir()), [])
        self.assert_nothing_staged()

    def test_drives_plugged_in_while_running_are_appended(self):
        desktop = self.desktop
        desktop.unplug("E")
        # A card reader's empty slot: a removable letter whose root cannot be read is not listed.
        slot = self.app_dir / "card"
        desktop.plug("F", slot)
        self.start()
        form = wait_for("the connect prompt",
                        lambda: (lambda f: f if f.get("label1.text") == PROMPT_CONNECT else None)(desktop.form()))
        self.assertEqual((form["devicebox.visible"], form["savebutton.enabled"]), ("0", "0"))
        self.assertIn((255, 0, 0), self.prompt_pixels(form))

        # The announcement of a new drive is handled before plugging returns: the drive is
        # listed when the probe looks right afterwards, not at the next tick.
        self.assertEqual(desktop.plug("E", desktop.drive)["devicebox.items"], "E:\\")
        form = desktop.form()
        self.assertEqual((form["label1.text"], form["devicebox.visible"], form["savebutton.enabled"]),
                         (PROMPT_SELECT, "1", "1"))
        self.assertNotIn((255, 0, 0), self.prompt_pixels(form))

        # A card in the slot: listed at a poll, after the stick, which keeps the selection.
        slot.mkdir()
        self.assertEqual(self.wait_for_drives("E:\\|F:\\")["devicebox.selected"], "0")
        # Pulling a drive out is announced too, and changes nothing.
        desktop.unplug("E")
        form = desktop.form()
        self.assertEqual((form["devicebox.items"], form["devicebox.selected"]), ("E:\\|F:\\", "0"))

    def test_files_beside_the_tool_under_firmware_names_stay_as_they_are(self):
        desktop = self.desktop
        # An older set the technician keeps beside the tool: one file plain, one hidden, one read-only.
        hidden, read_only = 0x2, 0x1
        beside = {"KQ1769_m.dat": (b"older main image", 0), "KQ_kaz.kzt": (b"older edition", hidden),
                  "KQSAME.lng": (b"older table", read_only)}
        before = {}
        for name, (content, attributes) in beside.items():
            (self.app_dir / name).write_bytes(content)
            before[name] = desktop.attributes(self.app_dir / name, attributes or None)
            self.assertEqual(before[name] & (hidden | read_only), attributes, name)
        self.start()
        self.wait_for_drives("E:\\")
        self.write_set()
        self.close_success_boxes()
        self.assert_drive_holds_the_set()
        # The whole folder, not only the set's names: no staging file stays either.
        self.assertEqual(sorted(p.name for p in self.app_dir.iterdir()), sorted([EXE.name, *beside]))
        for name, (content, _) in beside.items():
            self.assertEqual(((self.app_dir / name).read_bytes(), desktop.attributes(self.app_dir / name)),
                             (content, before[name]), name)

    def test_executable_in_read_only_folder_reports_the_staging_failure(self):
        desktop = self.desktop
        self.start()
        self.app_dir.chmod(0o555)
        self.wait_for_drives("E:\\")
        self.write_set()
        staged = re.escape(desktop.windows_path(self.app_dir)) + r"\\~KQ\d+-1\.tmp"
        box = desktop.wait_for_box()
        self.assertEqual(box["caption"], TITLE)
        self.assertRegex(box["text"], f'^Cannot create file "{staged}". ')
        self.assertTrue(box["text"].endswith("."), box["text"])
        self.assertNotIn("\n", box["text"])
        self.assertEqual(icon_kind(desktop, box), "error")
        desktop.click_rect(box["ok"])
        self.assertEqual(list(desktop.drive.iterdir()), [])
        # The tool carries on: the next tick enables the button again.
        wait_for("the write button", lambda: desktop.form().get("savebutton.enabled") == "1")
        self.assertEqual(desktop.boxes(), [])

    def test_cyrillic_folder_on_a_western_code_page(self):
        desktop = self.desktop
        self.assertNotEqual(desktop.probe("acp")["acp"], "1251")
        app_dir = self.app_dir / "Прошивка KQ №2 — тест"
        app_dir.mkdir()
        form = self.start(app_dir)
        self.assertEqual(form["caption"], CAPTION)
        self.assertEqual(form["savebutton.text"], "Записать прошивку на USB-Flash")
        self.wait_for_drives("E:\\")
        self.write_set()
        self.close_success_boxes()
        self.assert_drive_holds_the_set()
        self.assert_nothing_staged(app_dir)

    def test_missing_firmware_payload_ends_the_run_in_the_default_error_report_before_the_stick(self):
        desktop = self.desktop
        self.without_payload("LANGUAGESS", "LANGUAGESX")
        on_stick = {name: b"older " + name.encode() for name in EXPECTED} | {"Акт сверки.pdf": b"the operator's"}
        for name, content in on_stick.items():
            (desktop.drive / name).write_bytes(content)
        self.start()
        self.wait_for_drives("E:\\")
        self.write_set()
        self.close_box(TITLE, "Resource Languagess not found.", "error")
        self.assertEqual({p.name: p.read_bytes() for p in desktop.drive.iterdir()}, on_stick)
        self.assert_nothing_staged()
        self.assertEqual(desktop.boxes(), [])
        wait_for("the next tick to enable the button", lambda: desktop.form().get("savebutton.enabled") == "1")

    def test_damaged_firmware_image_is_never_written_and_the_tool_carries_on(self):
        desktop = self.desktop
        # A stand-in image says which payload it is near its start.
        marker = b"KQ STAND-IN IMAGE, NOT FIRMWARE. Build test data for Firmware7s;"
        if marker not in EXE.read_bytes():
            self.skipTest("the real firmware images are embedded")
        self.with_one_bit_flipped(marker)
        form = self.start()
        self.wait_for_drives("E:\\")
        self.write_set()
        self.close_box(*DAMAGED_FIRMWARE, "error")
        self.assertEqual(list(desktop.drive.iterdir()), [])
        self.assert_nothing_staged()
        # The window still answers, the next poll enables the button, and the change log, which
        # is intact, still opens.
        wait_for("the write button", lambda: desktop.form().get("savebutton.enabled") == "1")
        opened = len(desktop.opened_documents())
        desktop.click_rect(form["infobutton.rect"])
        wait_for("the change log to be opened", lambda: len(desktop.opened_documents()) > opened)
        self.assertEqual(desktop.boxes(), [])

    def test_without_the_systems_hashing_nothing_is_written_unchecked(self):
        desktop = self.desktop
        self.start(dll_overrides="bcrypt=d")
        self.wait_for_drives("E:\\")
        self.write_set()
        self.close_box(TITLE, "Cannot load library bcrypt.dll.", "error")
        self.assertEqual(list(desktop.drive.iterdir()), [])
        self.assert_nothing_staged()

    def test_libraries_left_beside_the_tool_are_never_loaded(self):
        desktop = self.desktop
        for name in UNPROTECTED_LIBRARIES:
            shutil.copy(PLANTED_LIBRARY, self.app_dir / f"{name}.dll")
        # Wine prefers its own copies of these; told so, it looks beside the program first, as Windows does.
        overrides = ",".join(UNPROTECTED_LIBRARIES) + "=n,b"

        def markers():
            return sorted(p.name for p in self.app_dir.glob("*.loaded"))
        # The control: a program in the same folder that loads them by name gets the planted copies.
        shutil.copy(PROBE, self.app_dir / PROBE.name)
        loaded = desktop.probe("load", *(f"{name}.dll" for name in UNPROTECTED_LIBRARIES),
                               exe=self.app_dir / PROBE.name, dll_overrides=overrides)
        self.assertEqual(set(loaded.values()), {"1"}, loaded)
        self.assertEqual(markers(), sorted(f"{name}.dll.loaded" for name in UNPROTECTED_LIBRARIES))
        for marker in self.app_dir.glob("*.loaded"):
            marker.unlink()
        (self.app_dir / PROBE.name).unlink()

        form = self.start(dll_overrides=overrides)
        self.write_set_and_open_the_change_log(form)
        desktop.stop_tool()
        self.assertEqual(markers(), [])

    def test_a_library_that_cannot_be_loaded_ends_the_tool_with_the_error_report(self):
        desktop = self.desktop
        self.start(wait_until_shown=False, dll_overrides="comctl32=d")
        self.close_box(TITLE, "Cannot load library comctl32.dll.", "error")
        self.assertEqual(desktop.tool.wait(timeout=20), 1)

    def test_version_beyond_range_is_a_range_check_and_the_window_still_shows(self):
        desktop = self.desktop
        # The fixed file version's major number with its top bit set (32774 for 6).
        signature = (0xFEEF04BD).to_bytes(4, "little") + (0x00010000).to_bytes(4, "little")
        word = VERSION[0] << 16 | VERSION[1]
        self.broken_copy(signature + word.to_bytes(4, "little"), signature + (word | 0x80000000).to_bytes(4, "little"))
        self.start(wait_until_shown=False)
        box = desktop.wait_for_box()
        form = desktop.form()
        # A test build's caption keeps its mark; the box's caption is the application's title.
        self.assertEqual((form["caption"], form["fullver.text"]), (MARKED_TITLE, "V1.11.0.2   "))
        self.assertEqual((box["caption"], box["text"], icon_kind(desktop, box)), (TITLE, "Range check error.", "error"))
        desktop.click_rect(box["ok"])
        form = wait_for("the window", lambda: (lambda f: f if f.get("visible") == "1" else None)(desktop.form()))
        self.assertEqual(form["caption"], MARKED_TITLE)
        self.wait_for_drives("E:\\")


if __name__ == "__main__":
    unittest.main()
