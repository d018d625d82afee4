"""End-to-end tests of the main window as a whole: the keyboard focus, what its controls tell
assistive technology, the window that holds the taskbar button, and a close requested while a box
is up."""
import shutil
import subprocess
import unittest

from desktop import wait_for
from tool_case import (CAPTION, EXE, PROMPT_SELECT, REAL_INPUTS_EXE, SUCCESS, TEST_BUILD_MARK, TITLE, UNAVAILABLE,
                       ToolCase, close_desktop, open_desktop)

SAVE_CAPTION = "Записать прошивку на USB-Flash"


def setUpModule():
    open_desktop()


def tearDownModule():
    close_desktop()


class MainWindowTest(ToolCase):
    def wait_for_focus(self, control):
        return wait_for(f"the focus on {control}",
                        lambda: (lambda f: f if (f.get("active"), f.get("focus")) == ("form", control) else None)(
                            self.desktop.form()), timeout=5)

    def switch_away_and_back(self):
        """The probe takes the activation with a window of its own and then closes it; Wine then
        activates the tool again, as Windows does when the program switched to is closed."""
        away = self.desktop.probe("away", "500")
        self.assertEqual((away["foreground"], away["active"], away["focus"]), ("probe", "none", "none"))

    def test_focus_starts_on_the_drive_list_and_comes_back_where_it_was(self):
        self.start()
        self.wait_for_drives("E:\\")
        self.wait_for_focus("devicebox")
        self.switch_away_and_back()
        self.wait_for_focus("devicebox")
        self.desktop.key("Tab")
        self.wait_for_focus("savebutton")
        self.switch_away_and_back()
        self.wait_for_focus("savebutton")

    def forget_the_pdf_viewer(self):
        """No program opens PDF files: a click on the information button ends in its box."""
        self.desktop.forget_viewer(".pdf")
        self.addCleanup(self.desktop.register_viewer, ".pdf")

    def test_focus_returns_to_the_information_button_when_its_error_box_closes(self):
        self.forget_the_pdf_viewer()
        self.start()
        self.desktop.click_rect(self.desktop.form()["infobutton.rect"])
        self.close_box(*UNAVAILABLE, "error")
        self.wait_for_focus("infobutton")

    def test_focus_is_on_the_window_after_a_write_run(self):
        # The run disables the write button that had the focus; the focus does not go back to it.
        form = self.start()
        self.wait_for_drives("E:\\")
        self.desktop.click_rect(form["savebutton.rect"])
        self.close_success_boxes()
        self.wait_for_focus("form")
        self.assertEqual(self.desktop.form()["savebutton.enabled"], "1")

    def test_enter_and_escape_on_the_drive_list_do_nothing(self):
        desktop = self.desktop
        self.start()
        self.wait_for_drives("E:\\")
        self.wait_for_focus("devicebox")
        desktop.key("Return", "Escape", "Return")
        form = self.wait_for_focus("devicebox")
        self.assertEqual((form["devicebox.selected"], form["savebutton.enabled"]), ("0", "1"))
        self.assertEqual(desktop.boxes(), [])
        self.assertEqual(list(desktop.drive.iterdir()), [])
        self.assertEqual(desktop.opened_documents(), [])
        self.assertIsNone(desktop.tool.poll())

    def test_controls_tell_assistive_technology_what_they_are_and_are_pressed_through_it(self):
        # The probe makes the tool's controls in a window of its own and asks for them in its own
        # process, as a screen reader's hook does: across processes Wine's library answers nothing.
        seen = self.desktop.probe("accessibility")
        expected = {"devicebox.name": PROMPT_SELECT}  # the list's role and state are the system's
        # A push button (43); focusable and focused, then unavailable; clicked only after answering.
        for control, name, state, clicks in (("savebutton", SAVE_CAPTION, 0x100004, 1),
                                             ("savebutton.disabled", SAVE_CAPTION, 0x1, 0),
                                             ("infobutton", "Изменения в ПО (Adobe Reader)", 0x100000, 1)):
            expected |= {f"{control}.{key}": str(value) for key, value in zip(
                ("role", "name", "state", "action", "clicks", "clicks_later"), (43, name, state, "Нажать", 0, clicks))}
        self.assertEqual({key: seen.get(key) for key in expected}, expected)

    def test_taskbar_button_is_an_owner_window_with_the_title(self):
        self.start()
        # The owner window is shown just after the main window.
        form = wait_for("the owner window", lambda: (lambda f: f if f.get("owner.visible") == "1" else None)(
            self.desktop.form()))
        self.assertEqual(form["caption"], CAPTION)
        self.assertEqual((form["owner.caption"], form["owner.visible"], form["owner.owned"],
                          form["owner.toolwindow"], form["appwindow"]), (TITLE, "1", "0", "0", "0"))
        left, top, right, bottom = (int(v) for v in form["owner.rect"].split(","))
        self.assertEqual((right - left, bottom - top), (0, 0))  # nothing of it on the screen

    def test_only_a_build_that_carries_stand_ins_marks_its_caption(self):
        # Beside the tool as built, the one built from real inputs, under the tool's file name.
        shutil.copy(REAL_INPUTS_EXE, self.app_dir / EXE.name)
        real = self.start()
        self.assertEqual((real["caption"], real["owner.caption"]), (CAPTION.removeprefix(TEST_BUILD_MARK), TITLE))

    def test_minimising_goes_to_the_taskbar_button_and_restoring_comes_back(self):
        desktop = self.desktop
        form = self.start()
        self.wait_for_focus("devicebox")
        # The minimise box, left of the greyed maximise box and the close box.
        left, top, right, _ = (int(v) for v in form["rect"].split(","))
        desktop.click(right - 50, top + 9)
        form = wait_for("the window to hide", lambda: (lambda f: f if f["visible"] == "0" else None)(desktop.form()))
        self.assertEqual(form["active"], "owner")
        # Without a taskbar Wine shows the minimised owner as a small title at the screen's foot;
        # a double click on it restores it, as a click on the taskbar button would.
        left, top, right, bottom = (int(v) for v in form["owner.rect"].split(","))
        self.assertGreater(right - left, 0)
        subprocess.run(["xdotool", "mousemove", str((left + right) // 2), str((top + bottom) // 2),
                        "click", "--repeat", "2", "1"], env=desktop.env, check=True)
        self.wait_for_focus("devicebox")
        self.assertEqual(desktop.form()["visible"], "1")

    def test_close_requested_while_a_box_is_up_ends_the_program_quietly(self):
        desktop = self.desktop
        self.forget_the_pdf_viewer()
        for box, how in (("success", "taskkill"), ("success", "close"), ("change log", "taskkill"),
                         ("change log", "close")):
            with self.subTest(box=box, how=how):
                desktop.stop_tool()
                form = self.start()
                if box == "success":
                    self.wait_for_drives("E:\\")
                    desktop.click_rect(form["savebutton.rect"])
                    caption = SUCCESS[0]
                else:
                    desktop.click_rect(form["infobutton.rect"])
                    caption = UNAVAILABLE[0]
                self.assertEqual(desktop.wait_for_box()["caption"], caption)
                if how == "taskkill":
                    desktop.ask_tool_to_close()
                else:
                    self.assertEqual(desktop.probe("close")["posted"], "1")
                try:
                    exit_code = desktop.tool.wait(timeout=30)
                except subprocess.TimeoutExpired:
                    self.fail(f"the tool still runs; boxes: {desktop.boxes()}")
                self.assertEqual(exit_code, 0)
                self.assertEqual(desktop.boxes(), [])


if __name__ == "__main__":
    unittest.main()
