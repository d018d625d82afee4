#include "widgets/pixel_surface.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

PixelSurface::PixelSurface(int width, int height, Rgb fill)
    : owned_(static_cast<std::size_t>(width) * height, PackPixel(fill)),
      pixels_(owned_.data()),
      width_(width),
      height_(height) {}

PixelSurface::PixelSurface(std::uint32_t* pixels, int width, int height)
    : pixels_(pixels), width_(width), height_(height) {}

Rgb PixelSurface::Pixel(Point at) const {
  if (!Rect{0, 0, width_, height_}.Contains(at)) throw std::out_of_range("pixel outside surface");
  return UnpackPixel(pixels_[at.y * width_ + at.x]);
}

void PixelSurface::SetPixel(Point at, Rgb color) {
  if (Rect{0, 0, width_, height_}.Contains(at)) pixels_[at.y * width_ + at.x] = PackPixel(color);
}

Rect PixelSurface::Clipped(const Rect& rect) const {
  return {std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, width_),
          std::min(rect.bottom, height_)};
}

void PixelSurface::FillRect(const Rect& rect, Rgb color) {
  const Rect r = Clipped(rect);
  if (r.IsEmpty()) return;
  const std::uint32_t packed = PackPixel(color);
  for (int y = r.top; y < r.bottom; ++y)
    std::fill(pixels_ + y * width_ + r.left, pixels_ + y * width_ + r.right, packed);
}

void PixelSurface::CopyBlock(const Rect& from, Point to) {
  // Clip the source and the destination together so the block keeps its shape.
  const Rect source = Clipped(from);
  const Rect target = Clipped({to.x + source.left - from.left, to.y + source.top - from.top,
                               to.x + source.right - from.left, to.y + source.bottom - from.top});
  if (target.IsEmpty()) return;
  const int dx = target.left - (to.x - from.left);
  const int dy = target.top - (to.y - from.top);
  const int rows = target.Height();
  const auto copyRow = [&](int row) {
    std::memmove(pixels_ + (target.top + row) * width_ + target.left,
                 pixels_ + (dy + row) * width_ + dx, sizeof(std::uint32_t) * target.Width());
  };
  // Overlapping blocks copied downwards must go bottom row first.
  if (target.top > dy) {
    for (int row = rows - 1; row >= 0; --row) copyRow(row);
  } else {
    for (int row = 0; row < rows; ++row) copyRow(row);
  }
}
