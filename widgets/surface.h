#pragma once

#include "widgets/color.h"
#include "widgets/geometry.h"

// What the widgets draw on: the control itself through a device context in the program, or a
// pixel buffer for composing off screen and for tests. Colours arrive resolved.
class Surface {
 public:
  virtual ~Surface() = default;
  virtual void SetPixel(Point at, Rgb color) = 0;
  virtual void FillRect(const Rect& rect, Rgb color) = 0;
  // Copies the block `from` so that its top-left corner lands on `to`.
  virtual void CopyBlock(const Rect& from, Point to) = 0;

  // A horizontal or vertical line covering its pixels from `from` up to, but not including, `to`.
  void DrawLine(Point from, Point to, Rgb color);
};
