#include "widgets/dpi_win.h"

#include "app/scoped_gdi_win.h"
#include "app/system_library_win.h"

namespace {

constexpr wchar_t kUser32[] = L"user32.dll";

bool IsPerMonitorV2(HWND window) {
  static const auto contextOf = LATER_WINDOWS_FUNCTION(kUser32, GetWindowDpiAwarenessContext);
  static const auto equal = LATER_WINDOWS_FUNCTION(kUser32, AreDpiAwarenessContextsEqual);
  return contextOf && equal && equal(contextOf(window), DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
}

}  // namespace

int SystemDpi() {
  WindowDC screen(nullptr);
  return GetDeviceCaps(screen, LOGPIXELSY);
}

// A window the system does not know has no DPI of its own (0): the system's is taken then.
int WindowDpi(HWND window) {
  static const auto forWindow = LATER_WINDOWS_FUNCTION(kUser32, GetDpiForWindow);
  if (const UINT dpi = forWindow ? forWindow(window) : 0) return static_cast<int>(dpi);
  return SystemDpi();
}

bool ScaleFrameWithDpi(HWND window) {
  if (IsPerMonitorV2(window)) return true;
  static const auto enable = LATER_WINDOWS_FUNCTION(kUser32, EnableNonClientDpiScaling);
  return enable && enable(window);
}

int SystemMetricForDpi(int index, int dpi) {
  static const auto forDpi = LATER_WINDOWS_FUNCTION(kUser32, GetSystemMetricsForDpi);
  return forDpi ? forDpi(index, static_cast<UINT>(dpi)) : GetSystemMetrics(index);
}

bool AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
  static const auto forDpi = LATER_WINDOWS_FUNCTION(kUser32, AdjustWindowRectExForDpi);
  return forDpi ? forDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi))
                : AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

NONCLIENTMETRICSW NonClientMetricsForDpi(int dpi) {
  static const auto forDpi = LATER_WINDOWS_FUNCTION(kUser32, SystemParametersInfoForDpi);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (forDpi &&
      forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, static_cast<UINT>(dpi)))
    return metrics;
  // Without it the metrics come at the system's DPI; the fonts are scaled from there.
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  const int systemDpi = SystemDpi();
  for (LOGFONTW* font : {&metrics.lfCaptionFont, &metrics.lfSmCaptionFont, &metrics.lfMenuFont,
                         &metrics.lfStatusFont, &metrics.lfMessageFont})
    font->lfHeight = MulDiv(font->lfHeight, dpi, systemDpi);
  return metrics;
}
