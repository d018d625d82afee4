#pragma once

#include <cstdint>

// A colour value: 0x00BBGGRR for an RGB colour, or 0xFF000000 plus a system colour index for
// a colour of the current scheme, resolved only when drawn.
using TColor = std::uint32_t;

inline constexpr TColor kSystemColorFlag = 0xFF000000;

constexpr TColor SystemColor(int index) { return kSystemColorFlag | static_cast<TColor>(index); }

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clWindow = SystemColor(5);
inline constexpr TColor clWindowText = SystemColor(8);
inline constexpr TColor clHighlight = SystemColor(13);
inline constexpr TColor clBtnFace = SystemColor(15);
inline constexpr TColor clBtnShadow = SystemColor(16);
inline constexpr TColor clGrayText = SystemColor(17);
inline constexpr TColor clBtnText = SystemColor(18);
inline constexpr TColor clBtnHighlight = SystemColor(20);
inline constexpr TColor cl3DDkShadow = SystemColor(21);
inline constexpr TColor clInfoBk = SystemColor(24);

constexpr bool IsSystemColor(TColor color) {
  return (color & kSystemColorFlag) == kSystemColorFlag;
}
constexpr int SystemColorIndex(TColor color) { return static_cast<int>(color & 0xFF); }

// A colour as it reaches the screen.
struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;

  friend constexpr bool operator==(Rgb, Rgb) = default;
};

// The RGB of a colour value that is not a system colour.
constexpr Rgb RgbOf(TColor color) {
  return {static_cast<std::uint8_t>(color & 0xFF), static_cast<std::uint8_t>((color >> 8) & 0xFF),
          static_cast<std::uint8_t>((color >> 16) & 0xFF)};
}
