#include "widgets/surface.h"

#include <algorithm>

void Surface::DrawLine(Point from, Point to, Rgb color) {
  if (from.y == to.y) {
    // Leaving out the end point means the first pixel of a leftward line is the start itself.
    const int left = from.x <= to.x ? from.x : to.x + 1;
    const int right = from.x <= to.x ? to.x : from.x + 1;
    FillRect({left, from.y, right, from.y + 1}, color);
  } else if (from.x == to.x) {
    const int top = from.y <= to.y ? from.y : to.y + 1;
    const int bottom = from.y <= to.y ? to.y : from.y + 1;
    FillRect({from.x, top, from.x + 1, bottom}, color);
  }
}
