"""End-to-end tests of the information button's face: its three pictures as they reach the
screen at rest, under the pointer and held down, with pure white see-through."""
import time

from button_faces import InfoButtonFaceChecks
from desktop import wait_for
from tool_case import ToolCase, close_desktop, open_desktop


def setUpModule():
    open_desktop()


def tearDownModule():
    close_desktop()


class InfoButtonFaceTest(InfoButtonFaceChecks, ToolCase):
    picture_size = 32

    def setUp(self):
        super().setUp()
        self.desktop.point_at(1, 1)
        self.watch_info_button(self.start())

    def opened(self):
        return len(self.desktop.opened_documents())

    def focused(self):
        return self.desktop.form()["focus"]

    def test_at_rest_under_the_pointer_and_held_down_the_face_is_the_state_picture_keyed(self):
        at_rest = self.assert_face("Up")
        # Near the lower edge, so the hint that opens below the pointer stays off the button.
        x, y = (self.left + self.right) // 2, self.bottom - 2
        self.desktop.point_at(x, y)
        hot = self.assert_face("Hot")
        before = self.opened()
        self.desktop.press(x, y)
        try:
            held = self.assert_face("Down")
            # Held on the row just below, the button is up again, and the pointer is off it.
            self.desktop.point_at(x, self.bottom)
            self.assert_face("Up")
            self.desktop.point_at(x, y)
            self.assert_face("Down")
        finally:
            self.desktop.release()
        self.assert_face("Hot")
        # Released inside after the excursion: one click, which opens the change log once.
        wait_for("the viewer", lambda: self.opened() > before)
        time.sleep(1)
        self.assertEqual(self.opened(), before + 1)
        # The disc is blue at rest, bright turquoise-green under the pointer, duller green held.
        self.assertEqual(max(at_rest), at_rest[2], at_rest)
        self.assertEqual(max(hot), hot[1], hot)
        self.assertEqual(max(held), held[1], held)
        self.assertLess(max(held) - min(held), max(hot) - min(hot), (held, hot))

    def test_tab_reaches_the_button_third_and_its_keys_click_it(self):
        desktop = self.desktop
        self.wait_for_drives("E:\\")
        wait_for("the write button", lambda: desktop.form()["savebutton.enabled"] == "1")
        order = [wait_for("the focus on the drive list", lambda: self.focused() == "devicebox" and "devicebox")]
        while order[-1] != "infobutton" and len(order) < 5:
            desktop.key("Tab")
            order.append(wait_for("the focus to move", lambda: (f := self.focused()) != order[-1] and f))
        self.assertEqual(order, ["devicebox", "savebutton", "infobutton"])
        # The focus has no mark of its own.
        self.assert_face("Up")
        before = self.opened()
        desktop.key("Return")
        wait_for("the viewer", lambda: self.opened() == before + 1)
        desktop.key("space", action="keydown")
        try:
            self.assert_face("Down")
        finally:
            desktop.key("space", action="keyup")
        self.assert_face("Up")
        wait_for("the viewer", lambda: self.opened() == before + 2)
        # Held down, Enter clicks again with every repeat of the key.
        desktop.key("Return", action="keydown")
        time.sleep(1.5)
        desktop.key("Return", action="keyup")
        wait_for("the repeated clicks", lambda: self.opened() >= before + 5, timeout=20)
        self.assertEqual(self.focused(), "infobutton")
