"""End-to-end test of a colour scheme that sets button text apart from window text, as Windows 11's
contrast themes and custom schemes do: the texts on the button face take the button-text colour."""
from tool_case import ToolCase, close_desktop, open_desktop

# Button text far from both window text and the button face; the rest classic.
WINDOW_TEXT, BUTTON_TEXT, BUTTON_FACE = (255, 0, 255), (0, 0, 160), (212, 208, 200)
SCHEME = {"WindowText": "255 0 255", "ButtonText": "0 0 160", "ButtonFace": "212 208 200"}


def setUpModule():
    open_desktop(colours=SCHEME)


def tearDownModule():
    close_desktop()


def nearest(pixel, colours):
    return min(colours, key=lambda colour: sum((a - b) ** 2 for a, b in zip(pixel, colour)))


class TextColoursTest(ToolCase):
    def test_version_label_and_write_button_caption_take_the_button_text_colour(self):
        desktop = self.desktop
        desktop.point_at(1, 1)
        self.start()
        form = self.wait_for_drives("E:\\")
        scheme = desktop.system_colors()
        self.assertEqual((scheme["windowtext"], scheme["btntext"], scheme["btnface"]),
                         (WINDOW_TEXT, BUTTON_TEXT, BUTTON_FACE))
        shot = desktop.screenshot()
        left, top, right, bottom = (int(v) for v in form["savebutton.rect"].split(","))
        # Inside the button's frame and rings, where only the face and the caption are drawn.
        regions = {"fullver": form["fullver.rect"], "caption": f"{left + 5},{top + 5},{right - 5},{bottom - 5}"}
        for name, rect in regions.items():
            with self.subTest(name):
                pixels = shot.pixels(*(int(v) for v in rect.split(",")))
                kinds = {nearest(p, (WINDOW_TEXT, BUTTON_TEXT, BUTTON_FACE)) for p in pixels}
                self.assertEqual(kinds, {BUTTON_TEXT, BUTTON_FACE})
