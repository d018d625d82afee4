#pragma once

#include <windows.h>

#include "widgets/surface.h"

// Draws straight onto a device context; the context's pen, brush and other settings are left
// as they were.
class DcSurface : public Surface {
 public:
  explicit DcSurface(HDC dc) : dc_(dc) {}
  void SetPixel(Point at, Rgb color) override;
  void FillRect(const Rect& rect, Rgb color) override;
  void CopyBlock(const Rect& from, Point to) override;

 private:
  HDC dc_;
};
