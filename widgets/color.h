#pragma once

#include <cstdint>

// A colour value: 0x00BBGGRR for an RGB colour, or 0xFF000000 plus a system colour index for
// a colour of the current scheme, resolved only when drawn.
using TColor = std::uint32_t;

inline constexpr TColor kSystemColorFlag = 0xFF000000;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clWindowText = kSystemColorFlag | 8;
inline constexpr TColor clBtnFace = kSystemColorFlag | 15;

constexpr bool IsSystemColor(TColor color) {
  return (color & kSystemColorFlag) == kSystemColorFlag;
}
constexpr int SystemColorIndex(TColor color) { return static_cast<int>(color & 0xFF); }
