"""End-to-end tests of the write button's look and input, on screen with real pointer and keys."""
import time
import unittest

from color_math import colors_are_close, mix_colors, shade_color, tint_color, vertical_gradient
from desktop import wait_for
from tool_case import ToolCase, close_desktop, open_desktop

WIDTH, HEIGHT = 297, 33
BLACK = (0, 0, 0)
HOT_TRACK = (240, 155, 20)
# The running scheme's colours, by the names the probe gives them.
HIGHLIGHT, BUTTON_TEXT, BUTTON_FACE = "highlight", "btntext", "btnface"
BUTTON_SHADOW, GRAY_TEXT, DARK_SHADOW = "btnshadow", "graytext", "dkshadow"
# Columns clear of the caption, left and right, and one in the middle for the rings' rows.
SIDE_COLUMNS = (4, 20, WIDTH - 21, WIDTH - 5)


def setUpModule():
    open_desktop()


def tearDownModule():
    close_desktop()


def on_dotted_border(x, y, left=3, top=3, right=WIDTH - 3, bottom=HEIGHT - 3):
    return ((x in (left, right - 1) and top < y < bottom and (y - top) % 2 == 1)
            or (y in (top, bottom - 1) and left < x < right and (x - left) % 2 == 1))


def expected_looks(scheme):
    """Button pixel -> colour, per look, worked out from the running scheme."""
    face = scheme[BUTTON_FACE]
    plain = vertical_gradient(tint_color(face, 30), shade_color(face, 10), HEIGHT - 6)
    rows = {2 + i: colour for i, colour in enumerate(plain)}
    rows[HEIGHT - 4], rows[HEIGHT - 3] = shade_color(face, 20), shade_color(face, 30)
    outer = {(0, 16): shade_color(face, 20), (1, 1): shade_color(face, 20),
             (WIDTH - 1, 16): tint_color(face, 20), (WIDTH - 2, HEIGHT - 2): tint_color(face, 20),
             (150, 0): shade_color(face, 20), (150, HEIGHT - 1): tint_color(face, 20)}
    corners = {(x, y): face for x, y in ((0, 0), (1, 0), (0, 1), (WIDTH - 1, 0), (WIDTH - 2, 0),
                                         (WIDTH - 1, 1), (0, HEIGHT - 1), (1, HEIGHT - 1), (0, HEIGHT - 2))}
    frame = {(1, 16): scheme[DARK_SHADOW], (150, 1): scheme[DARK_SHADOW],
             (WIDTH - 2, 16): scheme[DARK_SHADOW], (150, HEIGHT - 2): scheme[DARK_SHADOW]}
    rest = {**corners, **outer, **frame}
    rest.update({(x, y): colour for y, colour in rows.items() for x in SIDE_COLUMNS})

    def ring(top, bottom):
        colours = vertical_gradient(top, bottom, HEIGHT - 4)
        pixels = {(x, 2 + i): colours[i] for i in (0, 1, len(colours) - 2, len(colours) - 1)
                  for x in (2, 3, 150, WIDTH - 3) + SIDE_COLUMNS}
        pixels.update({(x, 16): colours[14] for x in (2, 3, WIDTH - 4, WIDTH - 3)})
        return {**rest, **pixels, (4, 16): rows[16], (WIDTH - 5, 16): rows[16]}

    hot = ring(mix_colors((255, 255, 255), HOT_TRACK, 190), HOT_TRACK)
    highlight = scheme[HIGHLIGHT]
    edge = shade_color(highlight, 30) if colors_are_close(highlight, face) else highlight
    focused = ring(mix_colors(edge, tint_color(face, 30), 60), mix_colors(edge, tint_color(face, 30), 160))
    # The dotted border on (3, 3, 294, 30): every other pixel, starting one in from each corner.
    # Its corner (3, 3) is no dot and keeps the ring's colour.
    focused.update({(3, 4): BLACK, (3, 28): BLACK, (4, 3): BLACK, (WIDTH - 4, 4): BLACK,
                    (4, HEIGHT - 4): BLACK, (WIDTH - 5, HEIGHT - 4): BLACK})
    focused.update({pixel: BLACK for pixel in focused if on_dotted_border(*pixel)})
    disabled_ring = tint_color(scheme[BUTTON_SHADOW], 30)
    # The bottom right corner is left out: the version label's first digit shows there.
    disabled = {(x, y): face for x in (0, 1, 150, WIDTH - 1) for y in (0, HEIGHT - 1)}
    del disabled[(WIDTH - 1, HEIGHT - 1)]
    disabled.update({(x, y): face for x in (0, WIDTH - 1) for y in (1, 16)})
    disabled.update({(1, 1): face, (WIDTH - 2, HEIGHT - 2): face, (1, 16): disabled_ring,
                     (2, 1): disabled_ring, (150, 1): disabled_ring, (WIDTH - 2, 16): disabled_ring,
                     (150, HEIGHT - 2): disabled_ring})
    disabled.update({(x, y): face for x in SIDE_COLUMNS for y in (2, 16, HEIGHT - 3)})
    return {"rest": rest, "hot": hot, "focused": focused, "disabled": disabled}


class SaveButtonTest(ToolCase):
    def setUp(self):
        super().setUp()
        self.looks = None

    def button_origin(self):
        left, top, _, _ = (int(v) for v in self.desktop.form()["savebutton.rect"].split(","))
        return left, top

    def mismatches(self, look):
        left, top = self.button_origin()
        shot = self.desktop.screenshot()
        return {(x, y): (shot.pixel(left + x, top + y), colour) for (x, y), colour in self.looks[look].items()
                if shot.pixel(left + x, top + y) != colour}

    def assert_look(self, look, timeout=1.0):
        """The look must be on screen within the time, so that it shows at once, not at some later event."""
        try:
            wait_for(f"the {look} look", lambda: not self.mismatches(look), timeout=timeout)
        except AssertionError:
            self.fail(f"{look}: pixel -> (on screen, expected): {self.mismatches(look)}")

    def caption_box(self, colour):
        """Bounding box of the caption's pixels in the text colour, in button coordinates."""
        left, top = self.button_origin()
        shot = self.desktop.screenshot()
        found = [(x, y) for y in range(3, HEIGHT - 3) for x in range(5, WIDTH - 5)
                 if shot.pixel(left + x, top + y) == colour]
        self.assertTrue(found, f"no caption pixels in {colour}")
        xs, ys = [x for x, _ in found], [y for _, y in found]
        return min(xs), min(ys), max(xs), max(ys)

    def move_pointer_away(self):
        form = self.desktop.form()
        left, top, _, _ = (int(v) for v in form["client"].split(","))
        self.desktop.point_at(left + 60, top + 3)

    def focused_control(self):
        return [self.desktop.form()["focus"]]

    def press_and_expect_focus(self, key, control):
        self.desktop.key(key)
        wait_for(f"{key} to focus {control}", lambda: self.focused_control() == [control], timeout=3)

    def tab_to_button(self):
        for _ in range(4):
            if self.focused_control() == ["savebutton"]:
                return
            self.desktop.key("Tab")
        self.fail("Tab never reached the write button")

    def test_looks_at_rest_under_the_pointer_focused_and_disabled(self):
        desktop = self.desktop
        # Disabled while no drive is plugged in: flat, framed in grey, caption grey. Without a drive
        # no tick can enable it under the check, however slowly the checks come.
        desktop.unplug("E")
        self.start()
        self.looks = expected_looks(desktop.system_colors())
        scheme = desktop.system_colors()
        self.assert_look("disabled")
        disabled_caption = self.caption_box(scheme[GRAY_TEXT])
        self.assertNotIn(scheme[BUTTON_TEXT], set(desktop.screenshot().pixels(*self.caption_rect())))

        desktop.plug("E", desktop.drive)
        self.wait_for_drives("E:\\")
        self.move_pointer_away()
        self.assert_look("rest")
        # The grey caption was the whole caption: the same box as the enabled one.
        self.assertEqual(disabled_caption, self.caption_box(scheme[BUTTON_TEXT]))

        left, top = self.button_origin()
        desktop.point_at(left + 150, top + 16)
        self.assert_look("hot")
        self.move_pointer_away()
        self.assert_look("rest")

        # The tab order runs from the drive list to the write button to the information button.
        self.tab_to_button()
        self.press_and_expect_focus("Tab", "infobutton")
        self.press_and_expect_focus("shift+Tab", "savebutton")
        self.press_and_expect_focus("shift+Tab", "devicebox")
        self.press_and_expect_focus("Tab", "savebutton")
        self.assert_look("focused")

        # The see-through corner over the version label shows the label's first digit, as the
        # window does right beside it.
        left, top = self.button_origin()
        corner = desktop.screenshot().pixel(left + WIDTH - 1, top + HEIGHT - 1)
        self.assertLess(sum(corner), sum(scheme[BUTTON_FACE]) - 150, corner)

    def caption_rect(self):
        left, top = self.button_origin()
        return left + 5, top + 5, left + WIDTH - 5, top + HEIGHT - 5

    def test_click_runs_the_write_and_leaves_the_button_enabled_without_the_focus(self):
        desktop = self.desktop
        self.start()
        self.looks = expected_looks(desktop.system_colors())
        self.wait_for_drives("E:\\")
        self.write_set()
        self.close_success_boxes()
        form = wait_for("the write button", lambda: (lambda f: f if f["savebutton.enabled"] == "1" else None)(
            desktop.form()))
        self.assertNotEqual(form["focus"], "savebutton")
        self.assert_drive_holds_the_set()
        self.move_pointer_away()
        self.assert_look("rest")

    def test_space_and_enter_on_the_focused_button_run_the_write(self):
        desktop = self.desktop
        self.start()
        self.wait_for_drives("E:\\")
        for key in ("space", "Return"):
            # Each run takes the focus off the button, so it is tabbed to again.
            self.tab_to_button()
            desktop.key(key)
            self.close_success_boxes()
            wait_for("the write button", lambda: desktop.form()["savebutton.enabled"] == "1")
            self.assert_drive_holds_the_set()

    def test_another_program_presses_the_button_only_while_it_is_enabled(self):
        desktop = self.desktop
        desktop.unplug("E")
        self.start()
        self.assertEqual(desktop.probe("press", "THotMenuButton")["pressed"], "1")
        time.sleep(1.5)
        self.assertEqual(desktop.boxes(), [])
        desktop.plug("E", desktop.drive)
        self.wait_for_drives("E:\\")
        self.assertEqual(desktop.probe("press", "THotMenuButton")["pressed"], "1")
        self.close_success_boxes()
        self.assert_drive_holds_the_set()


if __name__ == "__main__":
    unittest.main()
