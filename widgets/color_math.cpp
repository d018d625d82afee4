#include "widgets/color_math.h"

#include <algorithm>
#include <cmath>

namespace {

// Halves go to the even neighbour, as the platform's own colour arithmetic rounds them.
int RoundEven(double value) { return static_cast<int>(std::nearbyint(value)); }

std::uint8_t ChannelByte(double unit) {
  return static_cast<std::uint8_t>(std::clamp(RoundEven(std::min(unit, 1.0) * 255), 0, 255));
}

}  // namespace

Hsl HslFromColor(Rgb color) {
  const double r = color.r / 255.0;
  const double g = color.g / 255.0;
  const double b = color.b / 255.0;
  const double max = std::max({r, g, b});
  const double min = std::min({r, g, b});
  const double lightness = (max + min) / 2;
  double hue = 0;
  double saturation = 0;
  if (max != min) {
    const double d = max - min;
    saturation = lightness < 0.5 ? d / (max + min) : d / (2 - max - min);
    if (r == max) {
      hue = (g - b) / d;
    } else if (g == max) {
      hue = 2 + (b - r) / d;
    } else {
      hue = 4 + (r - g) / d;
    }
    hue /= 6;
    if (hue < 0) hue += 1;
  }
  return {RoundEven(hue * 240), RoundEven(saturation * 240), RoundEven(lightness * 240)};
}

// The hue is divided by 239 rather than 240, which shifts hues slightly; the shades the
// widgets draw depend on it.
Rgb ColorFromHsl(int hue, int saturation, int lightness) {
  const double h = hue / 239.0;
  const double s = saturation / 240.0;
  const double l = lightness / 240.0;
  const double m2 = l < 0.5 ? l * (1 + s) : l + s - l * s;
  if (m2 <= 0) return {0, 0, 0};
  const double m1 = 2 * l - m2;
  const double x = 6 * h;
  const int i = static_cast<int>(x);
  const double f = x - i;
  const double v = m2 * ((m2 - m1) / m2) * f;
  const double rising = m1 + v;
  const double falling = m2 - v;
  double r, g, b;
  switch (i) {
    case 1:
      r = falling, g = m2, b = m1;
      break;
    case 2:
      r = m1, g = m2, b = rising;
      break;
    case 3:
      r = m1, g = falling, b = m2;
      break;
    case 4:
      r = rising, g = m1, b = m2;
      break;
    case 5:
      r = m2, g = m1, b = falling;
      break;
    default:
      r = m2, g = rising, b = m1;
      break;
  }
  return {ChannelByte(r), ChannelByte(g), ChannelByte(b)};
}

Rgb ShadeColor(Rgb color, int amount) {
  const Hsl hsl = HslFromColor(color);
  return ColorFromHsl(hsl.hue, hsl.saturation, std::max(hsl.lightness - amount, 0));
}

// Capped at 255, not 240: a lightness past full makes ColorFromHsl clip channels at white.
Rgb TintColor(Rgb color, int amount) {
  const Hsl hsl = HslFromColor(color);
  return ColorFromHsl(hsl.hue, hsl.saturation, std::min(hsl.lightness + amount, 255));
}

Rgb MixColors(Rgb a, Rgb b, int weight) {
  const float w = static_cast<float>(weight) / 255.0f;
  const auto mix = [w](std::uint8_t x, std::uint8_t y) {
    return static_cast<std::uint8_t>(RoundEven(x * static_cast<double>(w) + y * (1.0 - w)));
  };
  return {mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b)};
}

Rgb OppositeHueColor(Rgb color, int lightness) {
  const int hue = HslFromColor(color).hue;
  return ColorFromHsl(hue < 120 ? hue + 120 : hue - 120, 240, lightness);
}

bool ColorsAreClose(Rgb a, Rgb b) {
  const Hsl x = HslFromColor(a);
  const Hsl y = HslFromColor(b);
  return std::abs(x.hue - y.hue) < 20 && std::abs(x.lightness - y.lightness) < 60;
}
