#pragma once

#include "widgets/geometry.h"

// How far the frame the system draws around a window (title bar and borders) reaches past its
// client area on each side.
struct FrameInsets {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// The DPI whose sizes the system gives a window's frame while the window is laid out for
// windowDpi. A frame that scales follows the window's monitor; one that does not keeps the sizes
// of the system's DPI on every monitor, whatever the rectangle the system suggests on a move
// assumes.
int FrameDpi(bool frameScales, int windowDpi, int systemDpi);

// The window's rectangle with its top-left corner at `at`: a client area of the given size
// inside the frame.
Rect FramedWindow(Point at, int clientWidth, int clientHeight, const FrameInsets& frame);
