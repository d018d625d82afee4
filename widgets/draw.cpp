#include "widgets/draw.h"

#include "widgets/color_math.h"

Rect DrawRectSides(Surface& surface, const ColorScheme& scheme, const Rect& rect, TColor upperLeft,
                   TColor lowerRight, unsigned sides) {
  const auto& [left, top, right, bottom] = rect;
  if (upperLeft != clNone) {
    const Rgb c = scheme.Resolve(upperLeft);
    if (sides & sdLeft) surface.DrawLine({left, top}, {left, bottom}, c);
    if (sides & sdTop) surface.DrawLine({left, top}, {right, top}, c);
  }
  if (lowerRight != clNone) {
    const Rgb c = scheme.Resolve(lowerRight);
    if (sides & sdRight) surface.DrawLine({right - 1, top}, {right - 1, bottom}, c);
    if (sides & sdBottom) surface.DrawLine({left, bottom - 1}, {right, bottom - 1}, c);
  }
  return {left + ((sides & sdLeft) ? 1 : 0), top + ((sides & sdTop) ? 1 : 0),
          right - ((sides & sdRight) ? 1 : 0), bottom - ((sides & sdBottom) ? 1 : 0)};
}

Rect DrawRectBevel(Surface& surface, const ColorScheme& scheme, const Rect& rect, TColor upperLeft,
                   TColor lowerRight, int width, unsigned sides) {
  Rect inner = rect;
  for (int i = 0; i < width; ++i)
    inner = DrawRectSides(surface, scheme, inner, upperLeft, lowerRight, sides);
  return inner;
}

void DrawComboArrow(Surface& surface, const ColorScheme& scheme, const Rect& rect, bool enabled,
                    bool pressed, TColor face) {
  // A near-black face would swallow a black arrow.
  const TColor color = !enabled                                               ? clBtnShadow
                       : ColorsAreClose(scheme.Resolve(face), RgbOf(clBlack)) ? cl3DDkShadow
                                                                              : clBlack;
  int cx = rect.left + rect.Width() / 2;
  int cy = rect.top + rect.Height() / 2;
  if (rect.Height() % 2 == 0) --cy;
  cy += 2;
  if (pressed) ++cx, ++cy;
  const Rgb c = scheme.Resolve(color);
  for (int row = 0; row < 4; ++row)
    surface.DrawLine({cx - row, cy - row}, {cx + row + 1, cy - row}, c);
}
