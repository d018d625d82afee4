"""End-to-end tests of the drive list's flat look, its keyboard search and its wheel steps."""
import time
import unittest

from desktop import TimedOut, wait_for
from tool_case import ToolCase, close_desktop, open_desktop


def setUpModule():
    open_desktop()


def tearDownModule():
    close_desktop()


def rgb(text):
    return tuple(int(v) for v in text.split(","))


def expected_look(width, height, scroll_bar, scheme, state):
    """Every pixel the flat frame and button own, by state: "idle", "raised" or "sunk"."""
    shadow, window, face = rgb(scheme["btnshadow"]), rgb(scheme["window"]), rgb(scheme["btnface"])
    light, black = rgb(scheme["btnhighlight"]), (0, 0, 0)
    left, top, right, bottom = width - scroll_bar - 2, 2, width - 2, height - 2
    look = {}
    for y in range(height):
        for x in range(width):
            ring = min(x, y, width - 1 - x, height - 1 - y)
            if ring < 2:
                look[x, y] = shadow if ring == 0 else window
            elif left <= x < right and top <= y < bottom:
                if state == "idle":
                    look[x, y] = window
                else:
                    upper, lower = (light, shadow) if state == "raised" else (shadow, light)
                    look[x, y] = (lower if x == right - 1 or y == bottom - 1 else
                                  upper if x == left or y == top else face)
    if state != "idle":
        left, top, right, bottom = left + 1, top + 1, right - 1, bottom - 1
    tip_x = left + (right - left) // 2 + (state == "sunk")
    tip_y = top + (bottom - top) // 2 - ((bottom - top) % 2 == 0) + 2 + (state == "sunk")
    for row in range(4):
        for dx in range(-row, row + 1):
            look[tip_x + dx, tip_y - row] = black
    return look


class DeviceBoxTest(ToolCase):
    def box_rect(self):
        return [int(v) for v in self.desktop.form()["devicebox.rect"].split(",")]

    def mismatches(self, state):
        left, top, right, bottom = self.box_rect()
        scheme = self.desktop.probe("scheme")
        shot = self.desktop.screenshot()
        look = expected_look(right - left, bottom - top, int(scheme["vscroll"]), scheme, state)
        return [(x, y, shot.pixel(left + x, top + y), colour) for (x, y), colour in sorted(look.items())
                if shot.pixel(left + x, top + y) != colour]

    def assert_look(self, state):
        try:
            wait_for(f"the {state} look", lambda: not self.mismatches(state), timeout=3)
        except TimedOut:
            self.assertEqual(self.mismatches(state)[:8], [], f"{state}: x, y, seen, expected")

    def start_with_two_drives(self):
        """E: and F: listed, E: selected, the list focused: a click opens it, a second one closes it."""
        self.desktop.plug("F", self.desktop.second_drive)
        self.start()
        self.wait_for_drives("E:\\|F:\\")
        left, top, right, bottom = self.box_rect()
        for dropped in ("1", "0"):
            self.desktop.click(left + 40, (top + bottom) // 2)
            wait_for("the list to open or close", lambda: self.desktop.form()["devicebox.dropped"] == dropped)

    def test_flat_look_idle_raised_and_sunk_in_the_running_scheme(self):
        desktop = self.desktop
        desktop.point_at(5, 5)
        self.start()
        self.wait_for_drives("E:\\")
        # Standard metrics in the test prefix; the looks below follow whatever the system says.
        self.assertEqual(desktop.probe("scheme")["vscroll"], "16")
        left, top, right, bottom = self.box_rect()
        self.assertEqual((right - left, bottom - top), (217, 21))
        # The list has the keyboard focus from the start, so its button stands raised.
        self.assert_look("raised")
        # With the focus moved on to the write button it lies flat. The frame's left column lies
        # under the end of the self-sizing prompt: it must show.
        desktop.key("Tab")
        wait_for("the focus to move on", lambda: desktop.form()["focus"] == "savebutton")
        self.assert_look("idle")

        desktop.point_at(left + 100, top + 10)
        self.assert_look("raised")

        desktop.click(left + 100, top + 10)
        form = wait_for("the list to open", lambda: (lambda f: f if f["devicebox.dropped"] == "1" else None)(
            desktop.form()))
        self.assert_look("sunk")
        # One entry: one row under the face, 36 pixels from the face's top to the list's bottom.
        list_bottom = int(form["devicebox.list"].split(",")[3])
        self.assertEqual(list_bottom - top, 36)

        desktop.click(left + 100, top + 10)
        wait_for("the list to close", lambda: desktop.form()["devicebox.dropped"] == "0")
        self.assert_look("raised")
        # Pointer gone, focus kept: the button stays raised.
        desktop.point_at(5, 5)
        time.sleep(0.3)
        self.assert_look("raised")

    def test_typing_a_drive_letter_selects_that_drive(self):
        desktop = self.desktop
        self.start_with_two_drives()
        desktop.type_text("f")
        wait_for("F: to be selected", lambda: desktop.form()["devicebox.selected"] == "1")
        # No drive begins with "fx": the selection stays.
        desktop.type_text("x")
        time.sleep(0.3)
        self.assertEqual(desktop.form()["devicebox.selected"], "1")
        time.sleep(1.6)  # the search starts afresh after the pause
        desktop.type_text("E")
        wait_for("E: to be selected", lambda: desktop.form()["devicebox.selected"] == "0")
        self.assertEqual(desktop.form()["devicebox.dropped"], "0")

    def test_wheel_steps_through_the_drives_and_stops_at_the_ends(self):
        desktop = self.desktop
        self.start_with_two_drives()
        for notches, selected in ((1, "1"), (1, "1"), (-1, "0"), (-1, "0"), (1, "1")):
            desktop.wheel(notches)
            wait_for(f"entry {selected} selected", lambda: desktop.form()["devicebox.selected"] == selected)
        self.assertEqual(desktop.form()["devicebox.dropped"], "0")


if __name__ == "__main__":
    unittest.main()
