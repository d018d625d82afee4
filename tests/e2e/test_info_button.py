"""End-to-end tests of the information button's face: its three pictures as they reach the
screen at rest, under the pointer and held down, with pure white see-through."""
import struct
import time

from desktop import TimedOut, wait_for
from tool_case import BUTTON_FACE, PAYLOAD_DIR, ToolCase, close_desktop, open_desktop

WHITE = (255, 255, 255)


def setUpModule():
    open_desktop()


def tearDownModule():
    close_desktop()


def read_picture(name):
    """A 24-bit BMP file as rows of (r, g, b), top row first."""
    data = (PAYLOAD_DIR / name).read_bytes()
    offset, = struct.unpack_from("<I", data, 10)
    width, height = struct.unpack_from("<ii", data, 18)
    bits, = struct.unpack_from("<H", data, 28)
    assert bits == 24, f"{name} has {bits} bits per pixel"
    stride = (width * 3 + 3) // 4 * 4
    rows = []
    for y in range(abs(height)):
        at = offset + (abs(height) - 1 - y if height > 0 else y) * stride
        rows.append([tuple(data[at + 3 * x:at + 3 * x + 3][::-1]) for x in range(width)])
    return rows


def enclosed_white(picture):
    """The pure white pixels that the white ground around the badge does not reach."""
    height, width = len(picture), len(picture[0])
    outside = set()
    frontier = [(x, y) for y in range(height) for x in range(width)
                if (x in (0, width - 1) or y in (0, height - 1)) and picture[y][x] == WHITE]
    while frontier:
        x, y = frontier.pop()
        if (x, y) in outside:
            continue
        outside.add((x, y))
        frontier += [(nx, ny) for nx, ny in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1))
                     if 0 <= nx < width and 0 <= ny < height and picture[ny][nx] == WHITE]
    return [(x, y) for y in range(height) for x in range(width)
            if picture[y][x] == WHITE and (x, y) not in outside]


def disc_point(picture):
    """A point of the disc left of the letter: the most colourful pixel of the middle row's left half."""
    y = len(picture) // 2
    return max(((x, y) for x in range(len(picture[0]) // 2)),
               key=lambda p: max(picture[y][p[0]]) - min(picture[y][p[0]]))


def composed(picture):
    """What the screen must show: the picture, with the window's colour wherever it is pure white."""
    return [[BUTTON_FACE if pixel == WHITE else pixel for pixel in row] for row in picture]


class InfoButtonFaceTest(ToolCase):
    pictures = {state: read_picture(f"Btn{state}32.bmp") for state in ("Up", "Hot", "Down")}

    def setUp(self):
        super().setUp()
        self.desktop.point_at(1, 1)
        form = self.start()
        self.left, self.top, self.right, self.bottom = (int(v) for v in form["infobutton.rect"].split(","))

    def on_screen(self):
        shot = self.desktop.screenshot()
        return [[shot.pixel(x, y) for x in range(self.left, self.right)] for y in range(self.top, self.bottom)]

    def assert_face(self, state):
        """Waits for the button to show the picture of the state and checks it pixel by pixel."""
        picture = self.pictures[state]
        expected = composed(picture)
        self.assertEqual((self.right - self.left, self.bottom - self.top), (len(picture[0]), len(picture)))
        try:
            wait_for(f"the {state} picture", lambda: self.on_screen() == expected, timeout=5)
        except TimedOut:
            pass
        face = self.on_screen()
        white = sum(row.count(WHITE) for row in face)
        self.assertEqual(white, 0, f"pure white shows in the {state} face")
        highlights = enclosed_white(picture)
        self.assertTrue(highlights, f"Btn{state}32.bmp has no white inside its badge")
        self.assertEqual({face[y][x] for x, y in highlights}, {BUTTON_FACE},
                         f"the window does not show through the {state} badge's highlights")
        x, y = disc_point(picture)
        self.assertEqual(face[y][x], picture[y][x], f"the disc's colour at {x},{y} in the {state} face")
        wrong = [(x, y, face[y][x], expected[y][x]) for y in range(len(face)) for x in range(len(face[0]))
                 if face[y][x] != expected[y][x]]
        self.assertEqual(wrong, [], f"{len(wrong)} pixels differ from the {state} picture (x, y, shown, expected)")
        return face[y][x]

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
