#include "widgets/contrast.h"

#include <algorithm>
#include <cmath>

namespace {

// Below it, text and fine marks are hard to make out; the classic scheme's red prompt, at 2.6:1
// on the button face, is meant to show.
constexpr double kLeastContrast = 2.0;

double Linear(std::uint8_t channel) {
  const double c = channel / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(Rgb color) {
  return 0.2126 * Linear(color.r) + 0.7152 * Linear(color.g) + 0.0722 * Linear(color.b);
}

}  // namespace

double ContrastRatio(Rgb a, Rgb b) {
  const double la = RelativeLuminance(a);
  const double lb = RelativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A scheme sets each text colour for its own background. Windows 11's contrast themes and custom
// schemes set window text and button text apart, and window text may then vanish on the face;
// in the classic and high-contrast schemes the two are the same.
TColor PairedTextColor(TColor text, TColor background) {
  return text == clWindowText && background == clBtnFace ? clBtnText : text;
}

Rgb ShownColor(TColor color, TColor background, const ColorScheme& scheme, bool highContrast) {
  if (IsSystemColor(color)) return scheme.Resolve(PairedTextColor(color, background));
  const Rgb fixed = scheme.Resolve(color);
  if (highContrast || ContrastRatio(fixed, scheme.Resolve(background)) < kLeastContrast)
    return scheme.Resolve(clBtnText);
  return fixed;
}

// Only the mode replaces it: the orange ring stands out from the classic face by little on
// purpose, a glow rather than a mark.
Rgb HotTrackBase(TColor hotTrackColor, const ColorScheme& scheme, bool highContrast) {
  return scheme.Resolve(highContrast ? clHighlight : hotTrackColor);
}
