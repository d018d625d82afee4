"""End-to-end test of the window in a high-contrast black colour scheme: the prompt and the focus
border, fixed black elsewhere, take the scheme's text colour. Wine cannot switch the
high-contrast mode itself on; its colours are the prefix's."""
from desktop import wait_for
from tool_case import ToolCase, close_desktop, open_desktop

# The scheme's colours for the parts of the window.
HIGH_CONTRAST_BLACK = {
    "ButtonFace": "0 0 0", "ButtonText": "255 255 255", "ButtonShadow": "128 128 128",
    "ButtonHilight": "192 192 192", "ButtonLight": "0 0 0", "ButtonDkShadow": "255 255 255",
    "Window": "0 0 0", "WindowText": "255 255 255", "Hilight": "26 235 255", "HilightText": "0 0 0",
    "GrayText": "63 242 0", "InfoWindow": "0 0 0", "InfoText": "255 255 255",
}


def setUpModule():
    open_desktop(colours=HIGH_CONTRAST_BLACK)


def tearDownModule():
    close_desktop()


class HighContrastTest(ToolCase):
    def test_prompt_and_focus_border_show_in_the_schemes_text_colour(self):
        desktop = self.desktop
        desktop.point_at(1, 1)
        self.start()
        form = self.wait_for_drives("E:\\")
        scheme = desktop.system_colors()
        face, text = scheme["btnface"], scheme["btntext"]
        self.assertEqual((face, text), ((0, 0, 0), (255, 255, 255)))
        self.assertEqual(self.prompt_pixels(form), {face, text})

        desktop.key("Tab")
        wait_for("the focus on the write button", lambda: desktop.form()["focus"] == "savebutton", timeout=3)
        left, top, right, bottom = (int(v) for v in form["savebutton.rect"].split(","))
        # Dots of the border on (3, 3, W - 3, H - 3), one in from each corner.
        dots = [(3, 4), (4, 3), (right - left - 4, 4), (4, bottom - top - 4), (3, 16), (150, 3)]
        wait_for("the focus border", lambda: {desktop.screenshot().pixel(left + x, top + y) for x, y in dots} == {text},
                 timeout=3)
