#pragma once

#include <windows.h>

#include "widgets/color.h"

// The colour to draw with now: a system colour follows the current scheme.
inline COLORREF ResolveColor(TColor color) {
  return IsSystemColor(color) ? GetSysColor(SystemColorIndex(color)) : static_cast<COLORREF>(color);
}
