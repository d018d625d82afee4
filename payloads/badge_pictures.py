"""The information button's three pictures: a glossy disc with a light grey letter i.

Pure white is the button's see-through colour, so the pictures use it only where the window
is meant to show: around the badge, a glint on the dot and a thin line along the left rim.
Every other pixel is computed by sampling the shapes on a fine grid; edge pixels are mixed
with the window's grey rather than with white, so no light fringe appears once the white
around them turns see-through.

The badge is designed at 32 pixels; every other size scales that design's geometry, so the
button can take the largest picture that fits the display's scale.
"""
import functools
import math
import struct

DESIGN_SIZE = 32
SIZES = (32, 40, 48, 56, 64, 80, 96)  # 100 % to 300 % of the design size
WHITE = (255, 255, 255)
WINDOW = (212, 208, 200)  # the window face the button is drawn on
SAMPLES = 8  # per pixel side; 64 samples give smooth edges

BADGES = {"BtnUp": (14, 139, 195), "BtnHot": (14, 195, 116), "BtnDown": (71, 138, 109)}
WHITE_PIXELS_AT_DESIGN_SIZE = 251

# The design, in pixels of the 32-pixel picture.
# Disc colour at this pixel, just left of the letter's stem, for each picture.
REFERENCE_PIXEL = (11, 18)
CENTRE = 16.0
RADIUS = 15.3
# Light falls from the top left: lighter there, darker at the bottom right, darker still
# in a narrow band along the edge so the badge keeps its outline on the grey window.
SLOPE = 0.34
EDGE_DARKENING = 0.22
EDGE_BAND = (0.80, 1.0)
# The gloss: an ellipse over the upper part of the disc, brightest at its top.
GLOSS_CENTRE = (16.0, 9.6)
GLOSS_AXES = (11.6, 7.6)
GLOSS_STRENGTH = 0.50
GLOSS_SOFT_EDGE = 0.18

LETTER_TOP, LETTER_BOTTOM = (232, 232, 232), (212, 212, 212)
DOT_CENTRE, DOT_RADIUS = (16.0, 8.4), 2.6
STEM = (14.0, 13.0, 18.0, 25.2)  # left, top, right, bottom
STEM_SERIF = (13.0, 13.0, 14.0, 14.5)  # the little flag on the stem's top left

DOT_GLINT_CENTRE, DOT_GLINT_AXES = (16.0, 7.5), (1.2, 0.7)  # an ellipse of pixel centres
RIM_LINE_DISTANCE = 2.0  # inside the edge
RIM_LINE_WIDTH = 1.0
RIM_LINE_ANGLES = (150.0, 205.0)  # degrees, counter-clockwise from the right, y up
# How far see-through highlights lighten their neighbours towards the window; one pixel deep at
# every size, it softens the highlights' edges without spreading a haze at larger sizes.
GLOW = 0.30


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def smoothstep(edge0, edge1, x):
    t = max(0.0, min(1.0, (x - edge0) / (edge1 - edge0)))
    return t * t * (3 - 2 * t)


def coverage(x, y, inside):
    """Share of the pixel (x, y) that lies inside the shape."""
    hits = 0
    for j in range(SAMPLES):
        for i in range(SAMPLES):
            hits += inside(x + (i + 0.5) / SAMPLES, y + (j + 0.5) / SAMPLES)
    return hits / (SAMPLES * SAMPLES)


def in_box(box, x, y):
    return box[0] <= x < box[2] and box[1] <= y < box[3]


class BadgeShape:
    """The design's geometry at one picture size, in that picture's pixels."""

    def __init__(self, size):
        self.size = size
        scale = size / DESIGN_SIZE

        def scaled(value):
            return tuple(v * scale for v in value) if isinstance(value, tuple) else value * scale

        # The pixel holding the centre of the design's reference pixel.
        self.reference_pixel = tuple(math.floor(scaled(v + 0.5)) for v in REFERENCE_PIXEL)
        self.centre, self.radius = scaled(CENTRE), scaled(RADIUS)
        self.gloss_centre, self.gloss_axes = scaled(GLOSS_CENTRE), scaled(GLOSS_AXES)
        self.dot_centre, self.dot_radius = scaled(DOT_CENTRE), scaled(DOT_RADIUS)
        self.stem, self.stem_serif = scaled(STEM), scaled(STEM_SERIF)
        self.glint_centre, self.glint_axes = scaled(DOT_GLINT_CENTRE), scaled(DOT_GLINT_AXES)
        self.rim_line_distance = scaled(RIM_LINE_DISTANCE)
        self.rim_line_width = scaled(RIM_LINE_WIDTH)

    def in_disc(self, x, y):
        return math.hypot(x - self.centre, y - self.centre) <= self.radius

    def in_letter(self, x, y):
        dot = math.hypot(x - self.dot_centre[0], y - self.dot_centre[1]) <= self.dot_radius
        return dot or in_box(self.stem, x, y) or in_box(self.stem_serif, x, y)

    def letter_grey(self, y):
        return mix(LETTER_TOP, LETTER_BOTTOM, (y - self.stem[1]) / (self.stem[3] - self.stem[1]))

    def shade(self, x, y):
        """Darkening (positive) or lightening (negative) from light and edge at a pixel centre."""
        u, v = (x - self.centre) / self.radius, (y - self.centre) / self.radius
        edge = smoothstep(EDGE_BAND[0], EDGE_BAND[1], math.hypot(u, v))
        return SLOPE * (u + v) / math.sqrt(2) + EDGE_DARKENING * edge

    def gloss(self, x, y):
        u = (x - self.gloss_centre[0]) / self.gloss_axes[0]
        v = (y - self.gloss_centre[1]) / self.gloss_axes[1]
        inside = 1.0 - smoothstep(1.0 - GLOSS_SOFT_EDGE, 1.0, math.hypot(u, v))
        return GLOSS_STRENGTH * inside * (1.0 - smoothstep(-1.0, 1.0, v))

    def disc_colour(self, base, x, y):
        reference = self.reference_pixel
        s = self.shade(x + 0.5, y + 0.5) - self.shade(reference[0] + 0.5, reference[1] + 0.5)
        return mix(base, (0, 0, 0), s) if s > 0 else mix(base, WHITE, -s)

    def on_glint(self, px, py):
        u = (px - self.glint_centre[0]) / self.glint_axes[0]
        v = (py - self.glint_centre[1]) / self.glint_axes[1]
        return u * u + v * v <= 1.0

    def on_rim_line(self, px, py):
        dx, dy = px - self.centre, self.centre - py
        angle = math.degrees(math.atan2(dy, dx)) % 360
        distance = self.radius - math.hypot(dx, dy)
        on_arc = RIM_LINE_ANGLES[0] <= angle <= RIM_LINE_ANGLES[1]
        return on_arc and abs(distance - self.rim_line_distance) < self.rim_line_width / 2

    @functools.cached_property
    def see_through(self):
        """The highlights inside the badge that let the window show, by their pixel centres."""
        pixels = ((x, y) for y in range(self.size) for x in range(self.size))
        return {(x, y) for x, y in pixels
                if self.on_glint(x + 0.5, y + 0.5) or self.on_rim_line(x + 0.5, y + 0.5)}

    @functools.cached_property
    def coverages(self):
        """Per pixel, its shares inside the disc and inside the letter, alike for every state."""
        return {(x, y): (coverage(x, y, self.in_disc), coverage(x, y, self.in_letter))
                for y in range(self.size) for x in range(self.size)}


def badge(shape, base):
    """Rows of (r, g, b) from the top; pure white exactly where the window is to show."""
    see_through = shape.see_through
    rows = []
    for y in range(shape.size):
        row = []
        for x in range(shape.size):
            disc, letter = shape.coverages[x, y]
            if disc == 0 or (x, y) in see_through:
                row.append(WHITE)
                continue
            near = sum((x + i, y + j) in see_through for i in (-1, 0, 1) for j in (-1, 0, 1))
            colour = mix(shape.disc_colour(base, x, y), WINDOW, GLOW * near / 8)
            colour = mix(colour, shape.letter_grey(y), letter)
            colour = mix(colour, WHITE, shape.gloss(x + 0.5, y + 0.5))
            colour = tuple(round(c) for c in mix(WINDOW, colour, disc))
            if colour == WHITE:
                raise ValueError(f"pixel {x},{y} would turn see-through")
            row.append(colour)
        rows.append(row)
    whites = sum(row.count(WHITE) for row in rows)
    if shape.size == DESIGN_SIZE and whites != WHITE_PIXELS_AT_DESIGN_SIZE:
        raise ValueError(f"{whites} white pixels, the button needs {WHITE_PIXELS_AT_DESIGN_SIZE}")
    if shape.gloss(shape.reference_pixel[0] + 0.5, shape.reference_pixel[1] + 0.5) > 0:
        raise ValueError(f"the gloss reaches the reference pixel at {shape.size} pixels")
    return rows


def bmp24(rows):
    """A bottom-up 24-bit BMP of rows given from the top."""
    width, height = len(rows[0]), len(rows)
    stride = (width * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        line = b"".join(bytes((b, g, r)) for r, g, b in row)
        data += line + bytes(stride - len(line))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return header + info + bytes(data)


def write_badges(payload_dir):
    for size in SIZES:
        shape = BadgeShape(size)
        for name, base in BADGES.items():
            (payload_dir / f"{name}{size}.bmp").write_bytes(bmp24(badge(shape, base)))
