"""The widgets' colour arithmetic, written again from its definition, so that the end-to-end tests
can work out from the running scheme which colour each pixel of a control must have.

Python's round() and float are the same round-half-to-even and IEEE doubles the widgets use;
single precision, where the widgets use it, goes through struct.
"""
import struct


def _single(value):
    return struct.unpack("f", struct.pack("f", value))[0]


def hsl_from_color(rgb):
    r, g, b = (c / 255 for c in rgb)
    hi, lo = max(r, g, b), min(r, g, b)
    lightness = (hi + lo) / 2
    hue = saturation = 0.0
    if hi != lo:
        d = hi - lo
        saturation = d / (hi + lo) if lightness < 0.5 else d / (2 - hi - lo)
        if r == hi:
            hue = (g - b) / d
        elif g == hi:
            hue = 2 + (b - r) / d
        else:
            hue = 4 + (r - g) / d
        hue /= 6
        if hue < 0:
            hue += 1
    return round(hue * 240), round(saturation * 240), round(lightness * 240)


def color_from_hsl(hue, saturation, lightness):
    h, s, l = hue / 239, saturation / 240, lightness / 240
    m2 = l * (1 + s) if l < 0.5 else l + s - l * s
    if m2 <= 0:
        return 0, 0, 0
    m1 = 2 * l - m2
    x = 6 * h
    i = int(x)
    f = x - i
    v = m2 * ((m2 - m1) / m2) * f
    rising, falling = m1 + v, m2 - v
    channels = {1: (falling, m2, m1), 2: (m1, m2, rising), 3: (m1, falling, m2),
                4: (rising, m1, m2), 5: (m2, m1, falling)}.get(i, (m2, rising, m1))
    return tuple(round(min(c, 1.0) * 255) for c in channels)


def shade_color(rgb, amount):
    h, s, l = hsl_from_color(rgb)
    return color_from_hsl(h, s, max(l - amount, 0))


def tint_color(rgb, amount):
    h, s, l = hsl_from_color(rgb)
    return color_from_hsl(h, s, min(l + amount, 255))


def mix_colors(a, b, weight):
    w = _single(weight / 255)
    return tuple(round(x * w + y * (1 - w)) for x, y in zip(a, b))


def colors_are_close(a, b):
    (ha, _, la), (hb, _, lb) = hsl_from_color(a), hsl_from_color(b)
    return abs(ha - hb) < 20 and abs(la - lb) < 60


def vertical_gradient(top, bottom, rows):
    """Colour of each row of a vertical gradient, top row first (16.16 fixed point)."""
    def channel(t, b, k):
        step = abs(t - b) * 65536 // rows * (1 if t >= b else -1)  # truncated towards zero
        return (b * 65536 + k * step) >> 16
    return [tuple(channel(t, b, k) for t, b in zip(top, bottom)) for k in range(rows - 1, -1, -1)]
