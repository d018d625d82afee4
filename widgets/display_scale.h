#pragma once

#include <algorithm>

// How many pixels the display shows per inch, 96 being 100 %. The controls' sizes are given at
// 96 and pass through here, so at 96 every pixel stays where it always was.
class DisplayScale {
 public:
  static constexpr int kBaseDpi = 96;

  constexpr DisplayScale() = default;
  constexpr explicit DisplayScale(int dpi) : dpi_(dpi) {}

  constexpr int Dpi() const { return dpi_; }

  // A length at 96 DPI as it is at this scale, rounded half away from zero as the system's
  // MulDiv rounds, so that these sizes agree with the ones the system scales itself.
  constexpr int Px(int value) const {
    const long long scaled = static_cast<long long>(value) * dpi_;
    const long long half = scaled < 0 ? -kBaseDpi / 2 : kBaseDpi / 2;
    return static_cast<int>((scaled + half) / kBaseDpi);
  }

  // The width of a 1-pixel line: 1 up to 149 %, 2 from 150 %, 3 from 250 %. Never thinner
  // than a pixel, whatever the scale.
  constexpr int Line() const { return std::max(1, Px(1)); }

 private:
  int dpi_ = kBaseDpi;
};
