#pragma once

#include "widgets/color_scheme.h"
#include "widgets/display_scale.h"
#include "widgets/surface.h"

// The sides of a rectangle a border is drawn on.
enum Sides : unsigned {
  sdLeft = 1,
  sdTop = 2,
  sdRight = 4,
  sdBottom = 8,
  sdAll = sdLeft | sdTop | sdRight | sdBottom,
};

// One-pixel border: left and top in upperLeft, right and bottom in lowerRight (which wins at
// the corners they share); clNone leaves its two sides undrawn. Returns the rectangle moved in
// by 1 on each side drawn on.
Rect DrawRectSides(Surface& surface, const ColorScheme& scheme, const Rect& rect, TColor upperLeft,
                   TColor lowerRight, unsigned sides = sdAll);

// DrawRectSides `width` times, each time inside the previous one.
Rect DrawRectBevel(Surface& surface, const ColorScheme& scheme, const Rect& rect, TColor upperLeft,
                   TColor lowerRight, int width, unsigned sides = sdAll);

// The drop-down arrow of a flat combo button: a solid downward triangle 7 pixels wide and 4
// rows tall at 96 DPI, Px(4) rows with a 1-pixel tip at other scales. `face` is the colour the
// button area was just filled with.
void DrawComboArrow(Surface& surface, const ColorScheme& scheme, const Rect& rect, bool enabled,
                    bool pressed, TColor face, DisplayScale scale = {});

// Rows blend from `bottom` (the bottom row, exactly) towards `top`, which the top row stops
// short of by one step.
void FillVerticalGradient(Surface& surface, const Rect& rect, Rgb top, Rgb bottom);

// The outer ring, two lines wide, of FillVerticalGradient over `rect`, the inside left as it
// is; only on a full-colour display, nothing otherwise.
void FillGradientRing(Surface& surface, const Rect& rect, Rgb top, Rgb bottom, bool fullColor,
                      DisplayScale scale = {});

// Dots, a line wide and square, on every other dot position of the rectangle's edges; black
// unless told otherwise.
void DrawDotBorder(Surface& surface, const Rect& rect, DisplayScale scale = {}, Rgb color = {});
