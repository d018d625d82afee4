#pragma once

#include <cstdint>
#include <vector>

#include "widgets/surface.h"

// One pixel as 32 bits, 0x00RRGGBB.
constexpr std::uint32_t PackPixel(Rgb c) {
  return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b;
}
constexpr Rgb UnpackPixel(std::uint32_t p) {
  return {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
          static_cast<std::uint8_t>(p)};
}

// A 32-bit pixel buffer, top row first, each pixel 0x00RRGGBB: the layout of a top-down
// 32-bit device-independent bitmap, so the buffer can also be one the system draws into.
class PixelSurface : public Surface {
 public:
  PixelSurface(int width, int height, Rgb fill = {});
  // Draws into memory owned elsewhere (width * height pixels).
  PixelSurface(std::uint32_t* pixels, int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  Rgb Pixel(Point at) const;
  const std::uint32_t* Data() const { return pixels_; }

  void SetPixel(Point at, Rgb color) override;
  void FillRect(const Rect& rect, Rgb color) override;
  void CopyBlock(const Rect& from, Point to) override;

 private:
  Rect Clipped(const Rect& rect) const;

  std::vector<std::uint32_t> owned_;
  std::uint32_t* pixels_;
  int width_;
  int height_;
};
