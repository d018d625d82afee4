#pragma once

#include <windows.h>

#include <optional>

#include "base/scoped_gdi_win.h"
#include "widgets/pixel_surface.h"

// A top-down 32-bit device-independent bitmap: the pixel layout of PixelSurface.
BITMAPINFO TopDown32BitmapInfo(int width, int height);

// The off-screen face of a control that is composed whole and reaches the screen in one copy,
// so the screen never shows it half drawn. The system draws into it through Dc(), the portable
// painting through Pixels(); both see one and the same pixels.
class FaceBuffer {
 public:
  FaceBuffer(HDC compatibleWith, int width, int height);
  bool Ready() const { return pixels_.has_value(); }
  HDC Dc() const { return dc_; }
  // The pixels, with all the system has drawn so far.
  PixelSurface& Pixels();
  void CopyTo(HDC target) const;

 private:
  int width_;
  int height_;
  ScopedGdiObject<HBITMAP> bitmap_;
  MemoryDC dc_;
  std::optional<ScopedSelect> selected_;
  std::optional<PixelSurface> pixels_;
};
