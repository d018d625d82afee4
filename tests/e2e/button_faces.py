"""What the end-to-end tests know of the information button's face: its pictures as committed and
as the screen must show them, pure white see-through."""
import struct

from desktop import TimedOut, wait_for
from tool_case import BUTTON_FACE, PAYLOAD_DIR

WHITE = (255, 255, 255)


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


class InfoButtonFaceChecks:
    """For a test case that shows the tool: checks the information button's face against the
    pictures of size picture_size."""
    picture_size = 32

    def watch_info_button(self, form):
        self.left, self.top, self.right, self.bottom = (int(v) for v in form["infobutton.rect"].split(","))
        self.pictures = {state: read_picture(f"Btn{state}{self.picture_size}.bmp") for state in ("Up", "Hot", "Down")}

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
        self.assertTrue(highlights, f"Btn{state}{self.picture_size}.bmp has no white inside its badge")
        self.assertEqual({face[y][x] for x, y in highlights}, {BUTTON_FACE},
                         f"the window does not show through the {state} badge's highlights")
        x, y = disc_point(picture)
        self.assertEqual(face[y][x], picture[y][x], f"the disc's colour at {x},{y} in the {state} face")
        wrong = [(x, y, face[y][x], expected[y][x]) for y in range(len(face)) for x in range(len(face[0]))
                 if face[y][x] != expected[y][x]]
        self.assertEqual(wrong, [], f"{len(wrong)} pixels differ from the {state} picture (x, y, shown, expected)")
        return face[y][x]
