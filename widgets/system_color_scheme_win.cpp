#include "widgets/system_color_scheme_win.h"

#include <windows.h>

Rgb SystemColorScheme::SystemColorRgb(int index) const {
  const COLORREF c = GetSysColor(index);
  return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

bool IsHighContrast() {
  HIGHCONTRASTW mode{};
  mode.cbSize = sizeof(mode);
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(mode), &mode, 0) &&
         (mode.dwFlags & HCF_HIGHCONTRASTON);
}
