#include "widgets/dpi_win.h"

#include "app/scoped_gdi_win.h"

namespace {

// A function of user32 that only Windows 10 has, or nullptr before it. Looked up by name at run
// time: imported, it would keep the program from starting on older Windows.
template <typename Function>
Function* Windows10Function(const char* name) {
  const FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
  return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(found));
}

}  // namespace

// A window the system does not know has no DPI of its own (0): the system's is taken then.
int WindowDpi(HWND window) {
  static const auto forWindow = Windows10Function<decltype(GetDpiForWindow)>("GetDpiForWindow");
  if (const UINT dpi = forWindow ? forWindow(window) : 0) return static_cast<int>(dpi);
  WindowDC screen(nullptr);
  return GetDeviceCaps(screen, LOGPIXELSY);
}

int SystemMetricForDpi(int index, int dpi) {
  static const auto forDpi =
      Windows10Function<decltype(GetSystemMetricsForDpi)>("GetSystemMetricsForDpi");
  return forDpi ? forDpi(index, static_cast<UINT>(dpi)) : GetSystemMetrics(index);
}

bool AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
  static const auto forDpi =
      Windows10Function<decltype(AdjustWindowRectExForDpi)>("AdjustWindowRectExForDpi");
  return forDpi ? forDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi))
                : AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

NONCLIENTMETRICSW NonClientMetricsForDpi(int dpi) {
  static const auto forDpi =
      Windows10Function<decltype(SystemParametersInfoForDpi)>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (forDpi &&
      forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, static_cast<UINT>(dpi)))
    return metrics;
  // Without it the metrics come at the system's DPI; the fonts are scaled from there.
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  WindowDC screen(nullptr);
  const int systemDpi = GetDeviceCaps(screen, LOGPIXELSY);
  for (LOGFONTW* font : {&metrics.lfCaptionFont, &metrics.lfSmCaptionFont, &metrics.lfMenuFont,
                         &metrics.lfStatusFont, &metrics.lfMessageFont})
    font->lfHeight = MulDiv(font->lfHeight, dpi, systemDpi);
  return metrics;
}
