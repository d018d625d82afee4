#pragma once

#include <windows.h>

#include "widgets/color_scheme.h"

// The colours the running system's scheme gives now.
class SystemColorScheme : public ColorScheme {
 public:
  Rgb SystemColorRgb(int index) const override;
};

// Whether the system is in high-contrast mode now.
bool IsHighContrast();

// An RGB colour as GDI takes it.
inline COLORREF ColorRef(Rgb color) { return RGB(color.r, color.g, color.b); }

// A colour value as the running system's scheme draws it now.
inline COLORREF ResolveColor(TColor color) { return ColorRef(SystemColorScheme().Resolve(color)); }
