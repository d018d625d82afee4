#pragma once

#include <cstdint>

#include "widgets/color.h"

// Hue, saturation and lightness, each scaled to 0..240.
struct Hsl {
  int hue = 0;
  int saturation = 0;
  int lightness = 0;
};

Hsl HslFromColor(Rgb color);
Rgb ColorFromHsl(int hue, int saturation, int lightness);
Rgb ShadeColor(Rgb color, int amount);
Rgb TintColor(Rgb color, int amount);
// weight 255 gives a, weight 0 gives b.
Rgb MixColors(Rgb a, Rgb b, int weight);
Rgb OppositeHueColor(Rgb color, int lightness);
bool ColorsAreClose(Rgb a, Rgb b);
