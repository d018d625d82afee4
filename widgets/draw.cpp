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

// At every scale the sides stay at 45 degrees and the tip a single pixel, so the arrow stays
// as sharp as at 96; only its height, its drop below the centre and the pressed shift grow.
void DrawComboArrow(Surface& surface, const ColorScheme& scheme, const Rect& rect, bool enabled,
                    bool pressed, TColor face, DisplayScale scale) {
  // A near-black face would swallow a black arrow.
  const TColor color = !enabled                                               ? clBtnShadow
                       : ColorsAreClose(scheme.Resolve(face), RgbOf(clBlack)) ? cl3DDkShadow
                                                                              : clBlack;
  int cx = rect.left + rect.Width() / 2;
  int cy = rect.top + rect.Height() / 2;
  if (rect.Height() % 2 == 0) --cy;
  cy += scale.Px(2);
  // As far as the sunk button's edge is wide.
  if (pressed) cx += scale.Line(), cy += scale.Line();
  const Rgb c = scheme.Resolve(color);
  for (int row = 0; row < scale.Px(4); ++row)
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
void FillGradientRing(Surface& surface, const Rect& rect, Rgb top, Rgb bottom, bool fullColor,
                      DisplayScale scale) {
  if (!fullColor || rect.IsEmpty()) return;
  const std::vector<Rgb> colors = GradientRows(top, bottom, rect.Height());
  const int ring = 2 * scale.Line();
  const int side = std::min(ring, rect.Width());
  FillRowRuns(surface, rect.left, rect.left + side, rect.top, colors);
  surface.CopyBlock({rect.left, rect.top, rect.left + side, rect.bottom},
                    {rect.right - side, rect.top});
  const int rows = rect.Height();
  const auto fillRow = [&](int row) {
    surface.FillRect({rect.left, rect.top + row, rect.right, rect.top + row + 1},
                     colors[static_cast<std::size_t>(row)]);
  };
  for (int row = 0; row < std::min(ring, rows); ++row) fillRow(row);
  for (int row = std::max(ring, rows - ring); row < rows; ++row) fillRow(row);
}

// The dots grow with the line width and keep a dot's width between them, so the border reads
// as the same dotted line at any scale.
void DrawDotBorder(Surface& surface, const Rect& rect, DisplayScale scale, Rgb color) {
  const int dot = scale.Line();
  const auto put = [&](int x, int y) {
    surface.FillRect({x, y, std::min(x + dot, rect.right), std::min(y + dot, rect.bottom)}, color);
  };
  for (int y = rect.top + dot; y < rect.bottom; y += 2 * dot) {
    put(rect.left, y);
    put(rect.right - dot, y);
  }
  for (int x = rect.left + dot; x < rect.right; x += 2 * dot) {
    put(x, rect.top);
    put(x, rect.bottom - dot);
  }
}
