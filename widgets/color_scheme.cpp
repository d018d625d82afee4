#include "widgets/color_scheme.h"

FixedColorScheme::FixedColorScheme() {
  Set(clWindow, {255, 255, 255});
  Set(clWindowText, {0, 0, 0});
  Set(clHighlight, {10, 36, 106});
  Set(clBtnFace, {212, 208, 200});
  Set(clBtnShadow, {128, 128, 128});
  Set(clGrayText, {128, 128, 128});
  Set(clBtnText, {0, 0, 0});
  Set(clBtnHighlight, {255, 255, 255});
  Set(cl3DDkShadow, {64, 64, 64});
  Set(clInfoBk, {255, 255, 225});
}

Rgb FixedColorScheme::SystemColorRgb(int index) const {
  return colors_.at(static_cast<std::size_t>(index));
}

FixedColorScheme& FixedColorScheme::Set(TColor systemColor, Rgb rgb) {
  colors_.at(static_cast<std::size_t>(SystemColorIndex(systemColor))) = rgb;
  return *this;
}
