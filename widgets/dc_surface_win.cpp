#include "widgets/dc_surface_win.h"

#include "widgets/system_color_scheme_win.h"

void DcSurface::SetPixel(Point at, Rgb color) { SetPixelV(dc_, at.x, at.y, ColorRef(color)); }

void DcSurface::FillRect(const Rect& rect, Rgb color) {
  if (rect.IsEmpty()) return;
  // An opaque empty text run is the cheapest solid fill and needs no brush.
  const RECT r{rect.left, rect.top, rect.right, rect.bottom};
  const COLORREF previous = SetBkColor(dc_, ColorRef(color));
  ExtTextOutW(dc_, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
  SetBkColor(dc_, previous);
}

void DcSurface::CopyBlock(const Rect& from, Point to) {
  BitBlt(dc_, to.x, to.y, from.Width(), from.Height(), dc_, from.left, from.top, SRCCOPY);
}
