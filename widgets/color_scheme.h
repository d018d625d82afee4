#pragma once

#include <array>

#include "widgets/color.h"

// Turns stored colour values into the RGB they are drawn in. The program resolves against the
// running system's scheme; tests use a fixed one so that drawn pixels can be compared exactly.
class ColorScheme {
 public:
  virtual ~ColorScheme() = default;
  virtual Rgb SystemColorRgb(int index) const = 0;

  Rgb Resolve(TColor color) const {
    return IsSystemColor(color) ? SystemColorRgb(SystemColorIndex(color)) : RgbOf(color);
  }
};

// The classic Windows scheme, with any entry open to change.
class FixedColorScheme : public ColorScheme {
 public:
  FixedColorScheme();
  Rgb SystemColorRgb(int index) const override;
  FixedColorScheme& Set(TColor systemColor, Rgb rgb);

 private:
  std::array<Rgb, 32> colors_{};
};
