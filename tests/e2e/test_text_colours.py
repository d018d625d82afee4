"""End-to-end test of a scheme that sets button text apart from window text, as Windows 11's contrast
themes and custom schemes do: the texts on the button face take the button-text colour."""
from tool_case import ToolCase, close_desktop, open_desktop

# Button text far from both window text and the face; the rest classic.
WINDOW_TEXT, BUTTON_TEXT, BUTTON_FACE = (255, 0, 255), (0, 0, 160), (212, 208, 200)


def setUpModule():
    open_desktop(colours={"WindowText": "255 0 255", "ButtonText": "0 0 160"})


def tearDownModule():
    close_desktop()


class TextColoursTest(ToolCase):
    def test_version_label_and_write_button_caption_take_the_button_text_colour(self):
        self.desktop.point_at(1, 1)
        self.start()
        form = self.wait_for_drives("E:\\")
        scheme = self.desktop.system_colors()
        self.assertEqual((scheme["windowtext"], scheme["btntext"], scheme["btnface"]),
                         (WINDOW_TEXT, BUTTON_TEXT, BUTTON_FACE))
        shot = self.desktop.screenshot()
        left, top, right, bottom = (int(v) for v in form["savebutton.rect"].split(","))
        # The caption inside the button's frame and rings, where only the face is drawn besides.
        caption = f"{left + 5},{top + 5},{right - 5},{bottom - 5}"
        for name, rect in (("fullver", form["fullver.rect"]), ("caption", caption)):
            with self.subTest(name):
                nearest = {min((WINDOW_TEXT, BUTTON_TEXT, BUTTON_FACE),
                               key=lambda c: sum((a - b) ** 2 for a, b in zip(p, c)))
                           for p in shot.pixels(*(int(v) for v in rect.split(",")))}
                self.assertEqual(nearest, {BUTTON_TEXT, BUTTON_FACE})
