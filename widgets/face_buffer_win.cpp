#include "widgets/face_buffer_win.h"

#include <cstdint>

BITMAPINFO TopDown32BitmapInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

FaceBuffer::FaceBuffer(HDC compatibleWith, int width, int height)
    : width_(width), height_(height), dc_(compatibleWith) {
  if (width <= 0 || height <= 0) return;
  const BITMAPINFO info = TopDown32BitmapInfo(width, height);
  void* bits = nullptr;
  bitmap_.reset(CreateDIBSection(compatibleWith, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_ || !bits) return;
  selected_.emplace(dc_, bitmap_.get());
  pixels_.emplace(static_cast<std::uint32_t*>(bits), width, height);
}

PixelSurface& FaceBuffer::Pixels() {
  // The system may still hold drawing back in its queue.
  GdiFlush();
  return *pixels_;
}

void FaceBuffer::CopyTo(HDC target) const {
  BitBlt(target, 0, 0, width_, height_, dc_, 0, 0, SRCCOPY);
}
