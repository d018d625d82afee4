"""The information button's three pictures: a glossy disc with a light grey letter i.

Pure white is the button's see-through colour, so the pictures use it only where the window
is meant to show: around the badge, a glint on the dot and a thin line along the left rim.
Every other pixel is computed by sampling the shapes on a fine grid; edge pixels are mixed
with the window's grey rather than with white, so no light fringe appears once the white
around them turns see-through.
"""
import math
import struct

SIZE = 32
WHITE = (255, 255, 255)
WINDOW = (212, 208, 200)  # the window face the button is drawn on
SAMPLES = 8  # per pixel side; 64 samples give smooth edges

# Disc colour at this pixel, just left of the letter's stem, for each picture.
REFERENCE_PIXEL = (11, 18)
BADGES = {"BtnUp": (14, 139, 195), "BtnHot": (14, 195, 116), "BtnDown": (71, 138, 109)}
WHITE_PIXELS = 251

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

DOT_GLINT = [(15, 7), (16, 7)]
RIM_LINE_DISTANCE = 2.0  # inside the edge
RIM_LINE_ANGLES = (150.0, 205.0)  # degrees, counter-clockwise from the right, y up
GLOW = 0.30  # how far see-through highlights lighten their neighbours towards the window


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


def in_disc(x, y):
    return math.hypot(x - CENTRE, y - CENTRE) <= RADIUS


def in_box(box, x, y):
    return box[0] <= x < box[2] and box[1] <= y < box[3]


def in_letter(x, y):
    dot = math.hypot(x - DOT_CENTRE[0], y - DOT_CENTRE[1]) <= DOT_RADIUS
    return dot or in_box(STEM, x, y) or in_box(STEM_SERIF, x, y)


def shade(x, y):
    """Darkening (positive) or lightening (negative) from light and edge at a pixel centre."""
    u, v = (x - CENTRE) / RADIUS, (y - CENTRE) / RADIUS
    edge = smoothstep(EDGE_BAND[0], EDGE_BAND[1], math.hypot(u, v))
    return SLOPE * (u + v) / math.sqrt(2) + EDGE_DARKENING * edge


def gloss(x, y):
    u = (x - GLOSS_CENTRE[0]) / GLOSS_AXES[0]
    v = (y - GLOSS_CENTRE[1]) / GLOSS_AXES[1]
    inside = 1.0 - smoothstep(1.0 - GLOSS_SOFT_EDGE, 1.0, math.hypot(u, v))
    return GLOSS_STRENGTH * inside * (1.0 - smoothstep(-1.0, 1.0, v))


def disc_colour(base, x, y):
    s = shade(x + 0.5, y + 0.5) - shade(REFERENCE_PIXEL[0] + 0.5, REFERENCE_PIXEL[1] + 0.5)
    return mix(base, (0, 0, 0), s) if s > 0 else mix(base, WHITE, -s)


def rim_line():
    pixels = set()
    for y in range(SIZE):
        for x in range(SIZE):
            dx, dy = x + 0.5 - CENTRE, CENTRE - (y + 0.5)
            angle = math.degrees(math.atan2(dy, dx)) % 360
            distance = RADIUS - math.hypot(dx, dy)
            on_arc = RIM_LINE_ANGLES[0] <= angle <= RIM_LINE_ANGLES[1]
            if on_arc and abs(distance - RIM_LINE_DISTANCE) < 0.5:
                pixels.add((x, y))
    return pixels


def badge(base):
    """Rows of (r, g, b) from the top; pure white exactly where the window is to show."""
    see_through = set(DOT_GLINT) | rim_line()
    rows = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            disc = coverage(x, y, in_disc)
            if disc == 0 or (x, y) in see_through:
                row.append(WHITE)
                continue
            near = sum((x + i, y + j) in see_through for i in (-1, 0, 1) for j in (-1, 0, 1))
            colour = mix(disc_colour(base, x, y), WINDOW, GLOW * near / 8)
            letter_grey = mix(LETTER_TOP, LETTER_BOTTOM, (y - STEM[1]) / (STEM[3] - STEM[1]))
            colour = mix(colour, letter_grey, coverage(x, y, in_letter))
            colour = mix(colour, WHITE, gloss(x + 0.5, y + 0.5))
            colour = tuple(round(c) for c in mix(WINDOW, colour, disc))
            if colour == WHITE:
                raise ValueError(f"pixel {x},{y} would turn see-through")
            row.append(colour)
        rows.append(row)
    whites = sum(row.count(WHITE) for row in rows)
    if whites != WHITE_PIXELS:
        raise ValueError(f"{whites} white pixels, the button needs {WHITE_PIXELS}")
    if gloss(REFERENCE_PIXEL[0] + 0.5, REFERENCE_PIXEL[1] + 0.5) > 0:
        raise ValueError("the gloss reaches the reference pixel")
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
    for name, base in BADGES.items():
        (payload_dir / f"{name}{SIZE}.bmp").write_bytes(bmp24(badge(base)))
