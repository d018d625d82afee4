"""End-to-end tests: the real executable under Wine, driven with real input on an X display.

Run as an unprivileged user: as root, Wine lets through writes that Windows refuses.
"""
import os
import shutil
import subprocess
import time
import unittest
from pathlib import Path

from desktop import Desktop, wait_for

EXE = Path(os.environ["KQ_EXE"])
PROBE = Path(os.environ["KQ_PROBE"])
FIRMWARE_SOURCE = Path(os.environ["KQ_FIRMWARE_SOURCE"])
PAYLOAD_DIR = Path(os.environ["KQ_PAYLOAD_DIR"])
TITLE = "Загрузочный модуль KQ"
SUCCESS = ("Процесс завершен", 'Файлы прошивки успешно сохранены на "E:\\"')
WARNING = ("Предупреждение", "ВНИМАНИЕ! Перед прошивкой рекомендуется отключить от терминала все "
           "подключенные кабели и устройства, кроме адаптера питания!")
PROMPT_SELECT = "Выберите USB-Flash:"
PROMPT_CONNECT = "ПОДКЛЮЧИТЕ USB-FLASH!"
BUTTON_FACE = (212, 208, 200)


def expected_set():
    """File name on the drive -> the bytes it must hold, in the order they are written."""
    files = {}
    for suffix, main, prefix, table, table_file in (("", "KQ1769_m.dat", "KQ", "Languages", "KQ1769.lng"),
                                                    ("s", "KQSAME_m.dat", "KQS", "Languagess", "KQSAME.lng")):
        files[main] = (FIRMWARE_SOURCE / f"Firmware0{suffix}").read_bytes()
        editions = ["rus.rub", "kaz.kzt", "rus.kzt", "eng.eur", "lva.eur", "fre.tnd", "tkm.tmt",
                    "blg.bgn", "arm.amd", "geo.gel", "rus.kgs", "kot.fcf", "rus.uzs"]
        for number, edition in enumerate(editions, start=1):
            files[f"{prefix}_{edition}"] = (FIRMWARE_SOURCE / f"Firmware{number}{suffix}").read_bytes()
        files[table_file] = (PAYLOAD_DIR / table).read_bytes()
    return files


EXPECTED = expected_set()
desktop = None


def setUpModule():
    global desktop
    desktop = Desktop(PROBE, keep=bool(os.environ.get("KQ_KEEP_E2E")))


def tearDownModule():
    desktop.close()


def icon_kind(box):
    """Tells the message box icons apart by their colours on screen."""
    if box["icon"] == "none":
        return "none"
    left, top, right, bottom = (int(v) for v in box["icon"].split(","))
    pixels = desktop.screenshot().pixels(left, top, right, bottom)
    # Without an icon the spot holds only the face and perhaps some black text.
    if all(max(p) - min(p) < 60 for p in pixels):
        return "none"
    red = sum(1 for r, g, b in pixels if r > 180 and g < 90 and b < 90)
    yellow = sum(1 for r, g, b in pixels if r > 200 and g > 170 and b < 90)
    return "error" if red > 40 and red > yellow else "warning" if yellow > 40 else "unknown"


def wine_path(path):
    return "Z:" + str(path).replace("/", "\\")


class ToolTest(unittest.TestCase):
    def setUp(self):
        self.app_dir = desktop.root / f"app-{self.id().rsplit('.', 1)[1]}"
        self.app_dir.mkdir()

    def tearDown(self):
        desktop.stop_tool()
        for drive in (desktop.drive, desktop.second_drive):
            for file in drive.iterdir():
                file.chmod(0o600)
                file.unlink()
        desktop.plug("E", desktop.drive)
        desktop.unplug("F", must_be_there=False)

    def start(self, app_dir=None):
        app_dir = app_dir or self.app_dir
        shutil.copy(EXE, app_dir / EXE.name)
        return desktop.start_tool(app_dir / EXE.name)

    def wait_for_drives(self, items):
        return wait_for(f"the drive list to read {items}",
                        lambda: (lambda f: f if f.get("devicebox.items") == items else None)(desktop.form()),
                        timeout=5)

    def close_box(self, caption, text, icon):
        box = desktop.wait_for_box()
        self.assertEqual((box["caption"], box["text"]), (caption, text))
        self.assertEqual(icon_kind(box), icon)
        desktop.click_rect(box["ok"])
        wait_for("the box to close", lambda: not any(b["caption"] == caption for b in desktop.boxes()))

    def write_set(self):
        desktop.click_rect(desktop.form()["savebutton.rect"])

    def assert_drive_holds_the_set(self, drive=None, except_for=()):
        drive = drive or desktop.drive
        on_drive = sorted(p.name for p in drive.iterdir())
        self.assertEqual(on_drive, sorted(EXPECTED))
        for name, content in EXPECTED.items():
            if name not in except_for:
                self.assertEqual((drive / name).read_bytes(), content, name)

    def assert_nothing_staged(self, app_dir=None):
        self.assertEqual([p.name for p in (app_dir or self.app_dir).iterdir()], [EXE.name])

    def prompt_pixels(self, form):
        left, top, right, bottom = (int(v) for v in form["label1.rect"].split(","))
        return set(desktop.screenshot().pixels(left, top, right, bottom))

    def test_typical_use_writes_the_whole_set(self):
        started = time.monotonic()
        form = self.start()
        # The design-time state, before the first tick has looked at any drive.
        self.assertEqual(form["caption"], TITLE)
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

        self.write_set()
        self.close_box(*SUCCESS, "none")
        self.close_box(*WARNING, "warning")
        wait_for("the write button", lambda: desktop.form().get("savebutton.enabled") == "1")
        self.assert_drive_holds_the_set()
        self.assert_nothing_staged()
        # The floppy letter and the fixed disk were never offered.
        self.assertEqual(desktop.form()["devicebox.items"], "E:\\")

    def test_older_set_is_replaced_whole(self):
        for name in EXPECTED:
            (desktop.drive / name).write_bytes(b"old firmware " * 1000)
        self.start()
        self.wait_for_drives("E:\\")
        self.write_set()
        self.close_box(*SUCCESS, "none")
        self.close_box(*WARNING, "warning")
        self.assert_drive_holds_the_set()

    def test_read_only_destination_file_fails_the_run_but_not_the_others(self):
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
        self.start()
        self.wait_for_drives("E:\\")
        desktop.unplug("E")
        time.sleep(1.5)  # at least one tick with the drive gone
        form = desktop.form()
        self.assertEqual((form["devicebox.items"], form["devicebox.selected"], form["savebutton.enabled"]),
                         ("E:\\", "0", "1"))
        self.write_set()
        self.close_box("Ошибка записи", 'Ошибка записи на "E:\\"', "error")
        self.assertEqual(list(desktop.drive.iterdir()), [])
        self.assert_nothing_staged()

    def test_drives_plugged_in_while_running_are_appended(self):
        desktop.unplug("E")
        self.start()
        form = wait_for("the connect prompt",
                        lambda: (lambda f: f if f.get("label1.text") == PROMPT_CONNECT else None)(desktop.form()))
        self.assertEqual((form["devicebox.visible"], form["savebutton.enabled"]), ("0", "0"))
        self.assertIn((255, 0, 0), self.prompt_pixels(form))

        desktop.plug("E", desktop.drive)
        plugged = time.monotonic()
        form = self.wait_for_drives("E:\\")
        print(f"\n  plugged drive listed after {time.monotonic() - plugged:.2f} s", flush=True)
        self.assertEqual((form["label1.text"], form["devicebox.visible"], form["savebutton.enabled"]),
                         (PROMPT_SELECT, "1", "1"))
        self.assertNotIn((255, 0, 0), self.prompt_pixels(form))

        desktop.plug("F", desktop.second_drive)
        form = self.wait_for_drives("E:\\|F:\\")
        self.assertEqual(form["devicebox.selected"], "0")

    def test_executable_in_read_only_folder_reports_the_staging_failure(self):
        self.start()
        self.app_dir.chmod(0o555)
        self.wait_for_drives("E:\\")
        self.write_set()
        staged = wine_path(self.app_dir / "KQ1769_m.dat")
        box = desktop.wait_for_box()
        self.assertEqual(box["caption"], TITLE)
        self.assertTrue(box["text"].startswith(f'Cannot create file "{staged}". '), box["text"])
        self.assertTrue(box["text"].endswith("."), box["text"])
        self.assertNotIn("\n", box["text"])
        self.assertEqual(icon_kind(box), "error")
        desktop.click_rect(box["ok"])
        self.assertEqual(list(desktop.drive.iterdir()), [])
        # The tool carries on: the next tick enables the button again.
        wait_for("the write button", lambda: desktop.form().get("savebutton.enabled") == "1")
        self.assertEqual(desktop.boxes(), [])

    def test_cyrillic_folder_on_a_western_code_page(self):
        self.assertNotEqual(desktop.probe("acp")["acp"], "1251")
        app_dir = self.app_dir / "Прошивка KQ №2 — тест"
        app_dir.mkdir()
        form = self.start(app_dir)
        self.assertEqual(form["caption"], TITLE)
        self.assertEqual(form["savebutton.text"], "Записать прошивку на USB-Flash")
        self.wait_for_drives("E:\\")
        self.write_set()
        self.close_box(*SUCCESS, "none")
        self.close_box(*WARNING, "warning")
        self.assert_drive_holds_the_set()
        self.assert_nothing_staged(app_dir)


class BuildTest(unittest.TestCase):
    def test_executable_imports_only_system_libraries(self):
        dump = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", str(EXE)], check=True,
                              stdout=subprocess.PIPE, text=True).stdout
        imported = {line.split(":", 1)[1].strip().lower() for line in dump.splitlines() if "DLL Name:" in line}
        system = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "msimg32.dll", "msvcrt.dll",
                  "shell32.dll", "version.dll", "advapi32.dll"}
        self.assertTrue(imported)
        self.assertLessEqual(imported, system)


if __name__ == "__main__":
    unittest.main()
