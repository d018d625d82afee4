#pragma once

// Rectangles are left, top, right, bottom with the right and bottom edges exclusive.
struct Point {
  int x = 0;
  int y = 0;
  friend constexpr bool operator==(Point, Point) = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
  constexpr bool Contains(Point p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
  // Moved in by d on every side (out for a negative d).
  constexpr Rect Shrunk(int d) const { return {left + d, top + d, right - d, bottom - d}; }
  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};
