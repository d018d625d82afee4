"""What the end-to-end tests share: the expected texts and files, and a test case that starts
the real executable in a folder of its own on one Wine desktop per test module.

Run as an unprivileged user: as root, Wine lets through writes that Windows refuses.
"""
import contextlib
import glob
import os
import shutil
import sys
import unittest
from pathlib import Path

import catalogue
from desktop import Desktop, wait_for

sys.path.insert(0, os.environ["KQ_SCRIPTS"])
from executable_resources import flagged_private_build  # noqa: E402
from project_version import project_version  # noqa: E402
from wine_documents import associate_documents  # noqa: E402

EXE = Path(os.environ["KQ_EXE"])
REAL_INPUTS_EXE = Path(os.environ["KQ_REAL_INPUTS_EXE"])
PROBE = Path(os.environ["KQ_PROBE"])
FIRMWARE_SOURCE = Path(os.environ["KQ_FIRMWARE_SOURCE"])
PAYLOAD_DIR = Path(os.environ["KQ_PAYLOAD_DIR"])
CORRUPTING_DRIVE = Path(os.environ["KQ_CORRUPTING_DRIVE"])
VERSION = project_version()
TITLE = "Загрузочный модуль KQ"
STAND_IN_BUILD = flagged_private_build(EXE.read_bytes())
# A build that carries stand-ins marks its caption, before the version, which may fail to show.
TEST_BUILD_MARK = "ТЕСТ — "
MARKED_TITLE = TEST_BUILD_MARK + TITLE if STAND_IN_BUILD else TITLE
CAPTION = MARKED_TITLE + " v%d.%d" % VERSION[:2]
FULL_VERSION = "%d.%d.%d.%d      " % VERSION
SUCCESS = ("Процесс завершен", 'Файлы прошивки успешно сохранены на "E:\\"')
WARNING = ("Предупреждение", "ВНИМАНИЕ! Перед прошивкой рекомендуется отключить от терминала все "
           "подключенные кабели и устройства, кроме адаптера питания!")
UNAVAILABLE = ("Ошибка", "Невозможно отобразить список изменений. Возможно, он уже открыт, "
               "либо Adobe Reader не установлен.")
DAMAGED_FIRMWARE = ("Ошибка", "Файл программы повреждён: прошивка не записана. Скопируйте программу заново.")
DAMAGED_CHANGE_LOG = ("Ошибка", "Файл программы повреждён: список изменений не открыт. Скопируйте программу заново.")
WRITE_ERROR = ("Ошибка записи", 'Ошибка записи на "E:\\"')
# What a write-error box says of each cause the run's record tells, and of what it left on the stick.
CAUSES = {
    "gone": "USB-Flash отключён или перестал отвечать: подключите его снова или возьмите другой.",
    "refused": "Запись на USB-Flash запрещена на этом компьютере (политика или антивирус): запишите прошивку "
               "на другом компьютере.",
    "different": "Записанные файлы прочитались с USB-Flash с отличиями: он неисправен или поддельный, возьмите "
                 "другой.",
}
UNCHANGED = "Прошивка не записана, файлы на USB-Flash не изменены."
INCOMPLETE = "На USB-Flash неполный набор прошивки: не используйте его в терминале."
SEE_THE_JOURNAL = "Подробности — в журнале: меню окна (Alt+Пробел) → «Открыть журнал»."
# The tool's items of the window's system menu, as posted by another program.
CHECK_STICK, OPEN_JOURNAL = 0x0110, 0x0120
PROMPT_SELECT = "Выберите USB-Flash:"
PROMPT_CONNECT = "ПОДКЛЮЧИТЕ USB-FLASH!"
BUTTON_FACE = (212, 208, 200)
MB = 1024 * 1024


def write_error_box(cause=None, changed=False, undeletable=()):
    """The write-error box: its first line; where the run tells the cause, the cause and what the stick
    holds now; the files it could not delete, named; and where to read more."""
    text = WRITE_ERROR[1]
    if cause:
        text += "\r\n" + CAUSES[cause] + " " + (INCOMPLETE if changed else UNCHANGED)
    if undeletable:
        names = ", ".join(undeletable[:3]) + (f" и ещё {len(undeletable) - 3}" if len(undeletable) > 3 else "")
        text += (f"\r\nФайлы {names} на USB-Flash не удалось удалить, их содержимое может быть неверным. Удалите их "
                 "вручную, прежде чем прошивать терминал.")
    if cause:
        text += "\r\n" + SEE_THE_JOURNAL
    return WRITE_ERROR[0], text


def room_lacking_box(lacking_bytes):
    """The box of a stick without room for the set, lacking that many bytes: megabytes in tenths,
    rounded up."""
    lack = "{},{} МБ".format(*divmod(max(1, -(-lacking_bytes * 10 // MB)), 10))
    return ("Ошибка записи", f'Недостаточно места на "E:\\": не хватает {lack}. Прошивка не записана, '
                             "файлы на USB-Flash не изменены.")


def files_open_under(folder):
    """Every file or folder under folder that a process of this user holds open. The Wine server
    holds the handles of all the prefix's programs, each one's current directory among them."""
    held = set()
    for descriptor in glob.glob("/proc/[0-9]*/fd/*"):
        with contextlib.suppress(OSError):  # closed meanwhile
            held.add(os.readlink(descriptor))
    return {path for path in held if Path(path).is_relative_to(folder)}


def programs_running_in(prefix):
    """The command line of every program running in the Wine prefix, as a list of its arguments."""
    programs = []
    for process in glob.glob("/proc/[0-9]*"):
        with contextlib.suppress(OSError):  # ended meanwhile
            if f"\0WINEPREFIX={prefix}\0" in "\0" + Path(process, "environ").read_text(errors="replace"):
                programs.append([a for a in Path(process, "cmdline").read_text(errors="replace").split("\0") if a])
    return programs


def expected_set():
    """File name on the drive -> the bytes it must hold, in the order they are written."""
    return {entry.file: entry.source(FIRMWARE_SOURCE, PAYLOAD_DIR).read_bytes() for entry in catalogue.entries()}


EXPECTED = expected_set()


def open_desktop(dpi=96, colours=None):
    ToolCase.desktop = Desktop(PROBE, keep=bool(os.environ.get("KQ_KEEP_E2E")), dpi=dpi, colours=colours)


def close_desktop():
    ToolCase.desktop.close()


def icon_kind(desktop, box):
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
    blue = sum(1 for r, g, b in pixels if b > 150 and r < 100)
    if red > 40 and red > yellow:
        return "error"
    return "warning" if yellow > 40 else "information" if blue > 40 else "unknown"


class ToolCase(unittest.TestCase):
    desktop = None

    def setUp(self):
        desktop = self.desktop
        self.app_dir = desktop.root / f"app-{self.id().rsplit('.', 1)[1]}"
        self.app_dir.mkdir()

    def tearDown(self):
        desktop = self.desktop
        desktop.stop_tool()
        for drive in (desktop.drive, desktop.second_drive):
            with contextlib.suppress(OSError):  # a test kept the tool from writing there, or mounted a stick
                drive.chmod(0o700)
            for file in drive.iterdir():
                file.chmod(0o600)
                file.unlink()
        desktop.plug("E", desktop.drive)
        desktop.unplug("F", must_be_there=False)

    def start(self, app_dir=None, wait_until_shown=True, dll_overrides=None, russian=False):
        app_dir = app_dir or self.app_dir
        if not (app_dir / EXE.name).exists():
            shutil.copy(EXE, app_dir / EXE.name)
        return self.desktop.start_tool(app_dir / EXE.name, wait_until_shown, dll_overrides, russian)

    def with_the_run_commands_documents(self, search_path):
        """Opens documents as the run command's prefix does, with the PDF viewer looked for on
        search_path; the test's stand-in opens both kinds again afterwards."""
        for extension in (".pdf", ".txt"):
            self.addCleanup(self.desktop.register_viewer, extension)
        return associate_documents(self.desktop.prefix, self.desktop.env, search_path)

    def broken_copy(self, original, replacement):
        """Puts a copy of the tool with one byte sequence replaced into the test's folder."""
        image = EXE.read_bytes()
        self.assertEqual(image.count(original), 1)
        (self.app_dir / EXE.name).write_bytes(image.replace(original, replacement))

    def with_one_bit_flipped(self, unique):
        """A copy of the tool in which one bit of the byte sequence unique, found once in it, is
        flipped, as a worn stick loses one."""
        middle = len(unique) // 2
        self.broken_copy(unique, unique[:middle] + bytes([unique[middle] ^ 0x01]) + unique[middle + 1:])

    def without_payload(self, upper_case_name, renamed):
        """A copy whose resource directory names the payload otherwise, so it is not found.
        The new name must keep the directory's sort order: lookups search it by halves."""
        def entry(name):
            return len(name).to_bytes(2, "little") + name.encode("utf-16-le")
        self.broken_copy(entry(upper_case_name), entry(renamed))

    def wait_for_drives(self, items, timeout=5):
        """Waits for the poll that listed the drives to have finished: the list reads items and,
        with a drive listed, the write button is enabled."""
        def done(form):
            return form.get("devicebox.items") == items and (not items or form.get("savebutton.enabled") == "1")
        return wait_for(f"the drive list to read {items}",
                        lambda: (lambda f: f if done(f) else None)(self.desktop.form()), timeout=timeout)

    def close_box(self, caption, text, icon, timeout=30):
        desktop = self.desktop
        box = desktop.wait_for_box(timeout)
        self.assertEqual((box["caption"], box["text"]), (caption, text))
        self.assertEqual(icon_kind(desktop, box), icon)
        desktop.click_rect(box["ok"])
        wait_for("the box to close", lambda: not any(b["caption"] == caption for b in desktop.boxes()))

    def close_success_boxes(self):
        """Closes the two boxes of a run that wrote the whole set, in the order they come."""
        self.close_box(*SUCCESS, "none")
        self.close_box(*WARNING, "warning")

    def write_set(self):
        self.desktop.click_rect(self.desktop.form()["savebutton.rect"])

    def write_set_and_open_the_change_log(self, form):
        """A whole use: the set written to E: with both boxes seen, then the change log opened."""
        desktop = self.desktop
        self.wait_for_drives("E:\\")
        self.write_set()
        self.close_success_boxes()
        self.assert_drive_holds_the_set()
        opened = len(desktop.opened_documents())
        desktop.click_rect(form["infobutton.rect"])
        wait_for("the change log to be opened", lambda: len(desktop.opened_documents()) > opened)

    def mount_drive(self, **faults):
        """The stand-in stick over E: (or a folder given as at=), with the faults given (see
        Desktop.mount_drive_stand_in), unmounted when the test ends; gives its backing folder and log."""
        backing, log, unmount = self.desktop.mount_drive_stand_in(CORRUPTING_DRIVE, **faults)
        self.addCleanup(unmount)
        return backing, log

    def opened_journals(self, before):
        """The journals handed to the program for text files since `before` of them were, with
        what each holds."""
        desktop = self.desktop
        opened = wait_for("the journal to be opened", lambda: desktop.opened_documents()[before:] or None)
        files = [next(desktop.prefix.glob("drive_c/users/*/Temp/KQ/" + path.rsplit("\\", 1)[1])) for path in opened]
        for file, path in zip(files, opened):
            self.assertRegex(path, r"\\Temp\\KQ\\Журнал KQ \d{4}-\d\d-\d\d \d\d-\d\d-\d\d\.txt$")
        return [file.read_bytes() for file in files]

    def journal(self):
        """The journal as the tool writes it when asked from its system menu, as text."""
        before = len(self.desktop.opened_documents())
        self.desktop.system_command(OPEN_JOURNAL)
        [journal] = self.opened_journals(before)
        return journal[3:].decode("utf-8") if journal.startswith(b"\xef\xbb\xbf") else journal.decode("utf-8")

    def assert_drive_holds_the_set(self, drive=None, except_for=()):
        drive = drive or self.desktop.drive
        on_drive = sorted(p.name for p in drive.iterdir())
        self.assertEqual(on_drive, sorted(EXPECTED))
        for name, content in EXPECTED.items():
            if name not in except_for:
                self.assertEqual((drive / name).read_bytes(), content, name)

    def assert_nothing_staged(self, app_dir=None):
        self.assertEqual([p.name for p in (app_dir or self.app_dir).iterdir()], [EXE.name])

    def prompt_pixels(self, form):
        left, top, right, bottom = (int(v) for v in form["label1.rect"].split(","))
        return set(self.desktop.screenshot().pixels(left, top, right, bottom))
