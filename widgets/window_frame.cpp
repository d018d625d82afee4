#include "widgets/window_frame.h"

int FrameDpi(bool frameScales, int windowDpi, int systemDpi) {
  return frameScales ? windowDpi : systemDpi;
}

Rect FramedWindow(Point at, int clientWidth, int clientHeight, const FrameInsets& frame) {
  return {at.x, at.y, at.x + frame.left + clientWidth + frame.right,
          at.y + frame.top + clientHeight + frame.bottom};
}
