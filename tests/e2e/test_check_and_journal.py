"""End-to-end tests of the system menu's two items: the check of a stick prepared earlier, which
reads and changes nothing, and the journal of what the tool did since it started."""
import re
import subprocess
import time

from desktop import wait_for
from tool_case import (CHECK_STICK, EXPECTED, OPEN_JOURNAL, STAND_IN_BUILD, SUCCESS, TITLE, VERSION, WARNING,
                       ToolCase, close_desktop, open_desktop, programs_running_in, room_lacking_box,
                       write_error_box)

CHECK = "Проверка USB-Flash"
SHORT_VERSION = "%d.%d" % VERSION[:2]
ALL_EXACT = (f'На "E:\\" все 30 файлов прошивки версии {SHORT_VERSION} совпадают с эталоном.'
             + ("\r\nЭто тестовая сборка: на USB-Flash заглушки, а не прошивка. Не используйте его в терминале."
                if STAND_IN_BUILD else ""))
# What a check may do to a stick: list it and read it. Anything else the stand-in notes changes it.
CHANGES = {"create", "open-write", "truncate", "write", "unlink", "rename", "mkdir", "rmdir", "chmod", "chown",
           "utimens"}


def setUpModule():
    open_desktop()


def tearDownModule():
    close_desktop()


class CheckAndJournalTest(ToolCase):
    def check(self, *box):
        self.desktop.system_command(CHECK_STICK)
        self.close_box(*box)

    def test_check_of_an_exact_stick_reads_it_and_changes_nothing(self):
        backing, log = self.mount_drive()
        for name, content in EXPECTED.items():
            (backing / name).write_bytes(content)
        (backing / "Акт сверки.pdf").write_bytes(b"the operator's")
        before = {p.name: (p.stat().st_size, p.stat().st_mtime_ns) for p in backing.iterdir()}
        self.start()
        self.wait_for_drives("E:\\")
        self.check(CHECK, ALL_EXACT, "information")
        steps = [line.split(" ", 1) for line in log.read_text().splitlines()]
        self.assertEqual([step for step in steps if step[0] in CHANGES], [])
        self.assertEqual({name for step, name in steps if step == "read"}, set(EXPECTED))
        self.assertEqual({p.name: (p.stat().st_size, p.stat().st_mtime_ns) for p in backing.iterdir()}, before)
        self.assertEqual(self.desktop.form()["savebutton.enabled"], "1")

    def test_check_counts_altered_and_missing_files_and_tells_a_stick_that_has_gone(self):
        desktop = self.desktop
        for name, content in EXPECTED.items():
            (desktop.drive / name).write_bytes(content)
        (desktop.drive / "KQ_geo.gel").write_bytes(EXPECTED["KQ_geo.gel"][:-1] + b"?")
        (desktop.drive / "KQ_rus.rub").unlink()
        (desktop.drive / "KQSAME.lng").unlink()
        (desktop.drive / "Акт сверки.pdf").write_bytes(b"the operator's")
        self.start()
        self.wait_for_drives("E:\\")
        self.check(CHECK, f'На "E:\\" нет полного набора прошивки версии {SHORT_VERSION} (из 30 файлов '
                          "отличаются: 1, отсутствуют: 2). Запишите прошивку заново.", "warning")
        desktop.unplug("E")
        self.check(CHECK, 'Не удалось прочитать "E:\\". Подключите USB-Flash и повторите проверку.', "error")

    def test_check_asked_for_during_a_run_or_under_its_box_starts_nothing(self):
        desktop = self.desktop
        self.mount_drive(write_delay_ms=40)
        self.start()
        self.wait_for_drives("E:\\")
        self.write_set()
        desktop.system_command(CHECK_STICK)
        box = desktop.wait_for_box()
        desktop.system_command(CHECK_STICK)
        self.assertEqual((box["caption"], box["text"]), SUCCESS)
        self.close_success_boxes()
        time.sleep(1.5)
        self.assertEqual(desktop.boxes(), [])

    def test_items_are_picked_by_their_access_keys_on_a_russian_windows(self):
        # Windows' own items of the menu take В, П, Р, С and З there (Wine's also М and О): a key
        # of ours shared with one would only move the selection, and nothing would be picked.
        desktop = self.desktop
        for name, content in EXPECTED.items():
            (desktop.drive / name).write_bytes(content)
        self.start(russian=True)
        self.wait_for_drives("E:\\")
        desktop.open_system_menu()
        desktop.key("Cyrillic_i")
        self.close_box(CHECK, ALL_EXACT, "information")
        opened = len(desktop.opened_documents())
        desktop.open_system_menu()
        desktop.key("Cyrillic_zhe")
        [journal] = self.opened_journals(opened)
        self.assertIn("==== Проверка USB-Flash — ".encode(), journal)

    def test_journal_holds_a_block_for_every_run_and_the_boxes_it_showed(self):
        desktop = self.desktop
        # Kept in a folder of the user's profile, the tool names that folder in its journal.
        profile = next(p for p in (desktop.prefix / "drive_c/users").iterdir() if p.name != "Public")
        app_dir = profile / "KQ tool"
        app_dir.mkdir()
        self.start(app_dir)
        desktop.system_command(OPEN_JOURNAL)
        self.close_box(TITLE, "Журнал пуст: с запуска программы прошивка не записывалась и не проверялась.",
                       "information")
        self.wait_for_drives("E:\\")
        self.write_set()
        self.close_success_boxes()
        # A stick that alters one file, with a read-only file in another's place; then one without room.
        backing, _ = self.mount_drive(victim="KQ_geo.gel")
        (backing / "KQ_rus.rub").write_bytes(b"older")
        (backing / "KQ_rus.rub").chmod(0o444)
        self.write_set()
        self.close_box(*write_error_box("different", changed=True), "error")
        self.doCleanups()
        self.mount_drive(free=4 * 1024 * 1024)
        self.write_set()
        # The set's clusters, and what Wine's NTFS-for-every-folder asks for the new names.
        lacking = (sum(-(-len(c) // 4096) for c in EXPECTED.values()) + 9) * 4096 - 4 * 1024 * 1024
        refusal = room_lacking_box(lacking)
        self.close_box(*refusal, "error")
        self.doCleanups()
        # A failure whose box names a path in the profile.
        app_dir.chmod(0o555)
        self.write_set()
        staging_failure = desktop.wait_for_box()
        self.assertRegex(staging_failure["text"], rf'^Cannot create file "C:\\users\\{profile.name}\\KQ tool\\~KQ')
        desktop.click_rect(staging_failure["ok"])

        opened = len(desktop.opened_documents())
        desktop.system_command(OPEN_JOURNAL)
        [journal] = self.opened_journals(opened)
        self.assertTrue(journal.startswith(b"\xef\xbb\xbf"))
        text = journal[3:].decode("utf-8")
        self.assertNotIn("\n", text.replace("\r\n", ""))
        blocks = text.split("==== Запись прошивки на USB-Flash — ")[1:]
        self.assertEqual(len(blocks), 4, text)
        success, failed, refused, stopped = blocks
        # The x86 tool in a 64-bit prefix runs under WOW64, as on 64-bit Windows.
        self.assertRegex(success, r"\r\nСистема: Windows [^\r\n]*; машина x64, процесс x86\r\n")
        for name in EXPECTED:
            self.assertRegex(success, rf"\r\n  {re.escape(name)} \(\d+ Б\): записан, прочитан обратно без отличий\r\n")
        self.assertIn('  «Процесс завершен»: Файлы прошивки успешно сохранены на "E:\\"\r\n'
                      f"  «{WARNING[0]}»: {WARNING[1]}\r\n", success)
        self.assertRegex(failed, r"\r\n  KQ_geo\.gel \(\d+ Б\): записан, прочитан обратно с отличием с байта \d+; удалён")
        self.assertRegex(failed, r"\r\n  KQ_rus\.rub \(\d+ Б\): сбой на шаге «копирование», ERROR_ACCESS_DENIED \(5\)"
                                 r"[^\r\n]*; прежний файл остался\r\n")
        self.assertIn('  «Ошибка записи»: Ошибка записи на "E:\\"\r\n', failed)
        self.assertIn(f"  «{refusal[0]}»: {refusal[1]}\r\n", refused)
        self.assertRegex(refused, r"Место: нужно \d+ Б, свободно 4194304 Б, не хватает \d+ Б")
        # The profile is written as %USERPROFILE%, in the box's text too; the user is named nowhere.
        self.assertIn('Cannot create file "%USERPROFILE%\\KQ tool\\~KQ', stopped)
        self.assertNotIn(profile.name, text)

        # Picked from the menu with the keyboard: Alt+Space, then up from the top to the last item.
        desktop.open_system_menu()
        desktop.key("Up")
        desktop.key("Return")
        self.assertEqual(len(self.opened_journals(opened + 1)), 1)

    def test_in_the_run_commands_prefix_the_journal_opens_in_notepad(self):
        desktop = self.desktop
        self.with_the_run_commands_documents("")
        self.start()
        self.wait_for_drives("E:\\")
        desktop.system_command(CHECK_STICK)
        desktop.click_rect(desktop.wait_for_box()["ok"])
        opened = len(desktop.opened_documents())
        desktop.system_command(OPEN_JOURNAL)
        self.addCleanup(subprocess.run, ["wine", "taskkill", "/f", "/im", "notepad.exe"], env=desktop.env,
                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        [notepad] = wait_for("Notepad", lambda: [p for p in programs_running_in(desktop.prefix)
                                                 if p[0].lower().endswith("\\notepad.exe")])
        self.assertRegex(notepad[1], r"^C:\\users\\[^\\]+\\Temp\\KQ\\Журнал KQ [-\d ]+\.txt$")
        self.assertEqual(desktop.opened_documents()[opened:], [])
        time.sleep(1)  # nor the box of a journal no program opened
        self.assertEqual(desktop.boxes(), [])
