"""End-to-end tests of the tool on a display at 150 % (144 pixels per inch): the window and its
controls laid out 1.5 times larger, the information button's 48-pixel pictures, and a move to a
monitor at 200 %."""
import time

from button_faces import InfoButtonFaceChecks
from desktop import wait_for
from tool_case import CAPTION, ToolCase, close_desktop, open_desktop

# The window's fixed rectangles at 96 DPI, relative to its client area: left, top, width, height.
DESIGN = {"client": (0, 0, 354, 81), "devicebox": (128, 8, 217, None), "savebutton": (8, 40, 297, 33),
          "infobutton": (312, 40, 32, 32), "fullver": (0, 71, 354, 10)}


def setUpModule():
    open_desktop(dpi=144)


def tearDownModule():
    close_desktop()


def caption_rows(shot, rect):
    """How many pixel rows of the button's inside hold caption pixels, black or grey."""
    left, top, right, bottom = rect
    return sum(1 for y in range(top + 6, bottom - 6)
               if any(sum(shot.pixel(x, y)) < 450 for x in range(left + 6, right - 6)))


class DisplayScaleTest(InfoButtonFaceChecks, ToolCase):
    picture_size = 48

    def layout(self, form):
        """The client area's size and each control's rectangle relative to it."""
        left, top, width, height = (int(v) for v in form["client"].split(","))
        shown = {"client": (0, 0, width, height)}
        for name in DESIGN:
            if name != "client":
                l, t, r, b = (int(v) for v in form[f"{name}.rect"].split(","))
                shown[name] = (l - left, t - top, r - l, b - t)
        return shown

    def gdi_objects(self):
        """The tool's GDI objects once its repaints are over: two counts a moment apart agree."""
        counts = [None]

        def settled():
            time.sleep(0.5)
            counts.append(int(self.desktop.probe("gdi")["gdi.table"]))
            return counts[-1] == counts[-2]
        wait_for("the count of GDI objects to settle", settled, timeout=20)
        return counts[-1]

    def assert_scaled(self, form, factor):
        for name, shown in self.layout(form).items():
            for figure, value in zip(shown, DESIGN[name]):
                if value is not None:
                    self.assertLessEqual(abs(figure - value * factor), 1, f"{name}: {shown} at {factor} x")

    def test_window_controls_and_pictures_at_150_percent(self):
        desktop = self.desktop
        desktop.point_at(1, 1)
        form = self.start()
        self.assertEqual(form["caption"], CAPTION)
        self.assert_scaled(form, 1.5)
        self.watch_info_button(form)
        self.assert_face("Up")
        # The caption's letters are half as tall again as at 96, where they span about 11 rows.
        rect = tuple(int(v) for v in form["savebutton.rect"].split(","))
        self.assertGreaterEqual(caption_rows(desktop.screenshot(), rect), 15)

        self.write_set_and_open_the_change_log(form)

    def test_moved_to_a_monitor_at_200_percent_lays_out_again_and_keeps_no_old_objects(self):
        desktop = self.desktop
        desktop.point_at(1, 1)
        self.start()

        def change(to, frm):
            self.assertEqual(desktop.probe("dpi-changed", str(frm), str(to))["sent"], "1")
            return desktop.form()
        form = change(192, 144)
        self.assert_scaled(form, 2)
        self.picture_size = 64
        self.watch_info_button(form)
        self.assert_face("Up")
        # Back and forth: whatever the first change made once, later ones make and free alike.
        change(144, 192)
        before = self.gdi_objects()
        for _ in range(3):
            change(192, 144)
            change(144, 192)
        self.assertEqual(self.gdi_objects(), before)
        self.assert_scaled(desktop.form(), 1.5)
