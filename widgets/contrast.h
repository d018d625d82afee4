#pragma once

#include "widgets/color_scheme.h"

// How far two colours stand apart, from 1 (the same luminance) to 21 (black on white), by the
// relative luminance of the sRGB channels.
double ContrastRatio(Rgb a, Rgb b);

// The text colour the scheme makes for a background: the window-text colour, which the tool
// names for its texts, is the button text on the button face; any other colour stays as it is.
TColor PairedTextColor(TColor text, TColor background);

// The colour a text colour of the tool is drawn in on a background. A fixed colour is itself,
// unless the system is in high-contrast mode or it would hardly stand out there; then the
// scheme's button text. A system colour is the scheme's own choice, paired with the background,
// and is drawn as it is.
Rgb ShownColor(TColor color, TColor background, const ColorScheme& scheme, bool highContrast);

// The base colour of the pointer-over ring: the button's own hot-track colour, or, in
// high-contrast mode, the scheme's selection colour.
Rgb HotTrackBase(TColor hotTrackColor, const ColorScheme& scheme, bool highContrast);
