#include "widgets/draw.h"

#include <algorithm>
#include <vector>

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

namespace {

constexpr int kGradientStrip = 8;

// Row colours of a vertical gradient, top row first, in 16.16 fixed point: the step is
// truncated towards zero, so every row keeps the same small bias towards the bottom colour.
std::vector<Rgb> GradientRows(Rgb top, Rgb bottom, int rows) {
  const auto channel = [rows](int to, int from, int k) {
    const int step = (to - from) * 65536 / rows;
    return static_cast<std::uint8_t>((from * 65536 + k * step) >> 16);
  };
  std::vector<Rgb> colors(static_cast<std::size_t>(rows));
  for (int k = 0; k < rows; ++k)
    colors[static_cast<std::size_t>(rows - 1 - k)] = {
        channel(top.r, bottom.r, k), channel(top.g, bottom.g, k), channel(top.b, bottom.b, k)};
  return colors;
}

// Columns left..right of every row, runs of equal colour in one fill.
void FillRowRuns(Surface& surface, int left, int right, int top, const std::vector<Rgb>& colors) {
  std::size_t run = 0;
  for (std::size_t row = 1; row <= colors.size(); ++row) {
    if (row < colors.size() && colors[row] == colors[run]) continue;
    surface.FillRect({left, top + static_cast<int>(run), right, top + static_cast<int>(row)},
                     colors[run]);
    run = row;
  }
}

}  // namespace

// Each row's colour is worked out once, on a narrow strip, and the strip copied across: far
// fewer fills than a row at a time on a device context.
void FillVerticalGradient(Surface& surface, const Rect& rect, Rgb top, Rgb bottom) {
  if (rect.IsEmpty()) return;
  const int strip = std::min(kGradientStrip, rect.Width());
  FillRowRuns(surface, rect.left, rect.left + strip, rect.top,
              GradientRows(top, bottom, rect.Height()));
  for (int done = strip; done < rect.Width();) {
    const int copied = std::min(done, rect.Width() - done);
    surface.CopyBlock({rect.left, rect.top, rect.left + copied, rect.bottom},
                      {rect.left + done, rect.top});
    done += copied;
  }
}

// Drawn side by side rather than through a clipping region, so no clipping outlives the call.
void FillGradientRing(Surface& surface, const Rect& rect, Rgb top, Rgb bottom, bool fullColor) {
  if (!fullColor || rect.IsEmpty()) return;
  const std::vector<Rgb> colors = GradientRows(top, bottom, rect.Height());
  const int side = std::min(2, rect.Width());
  FillRowRuns(surface, rect.left, rect.left + side, rect.top, colors);
  surface.CopyBlock({rect.left, rect.top, rect.left + side, rect.bottom},
                    {rect.right - side, rect.top});
  const int rows = rect.Height();
  for (int row : {0, 1, rows - 2, rows - 1}) {
    if (row < 0 || row >= rows) continue;
    surface.FillRect({rect.left, rect.top + row, rect.right, rect.top + row + 1},
                     colors[static_cast<std::size_t>(row)]);
  }
}

void DrawDotBorder(Surface& surface, const Rect& rect) {
  constexpr Rgb kDot{0, 0, 0};
  for (int y = rect.top + 1; y < rect.bottom; y += 2) {
    surface.SetPixel({rect.left, y}, kDot);
    surface.SetPixel({rect.right - 1, y}, kDot);
  }
  for (int x = rect.left + 1; x < rect.right; x += 2) {
    surface.SetPixel({x, rect.top}, kDot);
    surface.SetPixel({x, rect.bottom - 1}, kDot);
  }
}
