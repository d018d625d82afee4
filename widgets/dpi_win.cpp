#include "widgets/dpi_win.h"

#include "base/later_windows_win.h"
#include "base/scoped_gdi_win.h"
#include "widgets/window_dpi.h"

namespace {

constexpr wchar_t kUser32[] = L"user32.dll";

bool IsPerMonitorV2(HWND window) {
  static const auto contextOf = LATER_WINDOWS_FUNCTION(kUser32, GetWindowDpiAwarenessContext);
  static const auto equal = LATER_WINDOWS_FUNCTION(kUser32, AreDpiAwarenessContextsEqual);
  return contextOf && equal && equal(contextOf(window), later_windows::kPerMonitorAwareV2);
}

// shcore.dll is none of the tool's imports, so it is loaded here, from the system folder only.
// Windows 7 lacks it and Windows 8 has it without the function: then there is none to ask.
later_windows::GetDpiForMonitor* MonitorDpiFunction() {
  static const auto function = []() -> later_windows::GetDpiForMonitor* {
    if (!LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return nullptr;
    return LATER_WINDOWS_FUNCTION(L"shcore.dll", GetDpiForMonitor);
  }();
  return function;
}

}  // namespace

int SystemDpi() {
  WindowDC screen(nullptr);
  return GetDeviceCaps(screen, LOGPIXELSY);
}

int WindowDpi(HWND window) {
  static const auto forWindow = LATER_WINDOWS_FUNCTION(kUser32, GetDpiForWindow);
  DpiQuestions ask;
  if (forWindow) ask.window = [window] { return static_cast<int>(forWindow(window)); };
  if (MonitorDpiFunction()) ask.monitor = [window] { return MonitorDpi(window); };
  ask.system = SystemDpi();
  return WindowDpiFrom(ask);
}

int MonitorDpi(HWND window) {
  const auto forMonitor = MonitorDpiFunction();
  UINT dpiX = 0, dpiY = 0;
  if (!forMonitor || FAILED(forMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST),
                                       later_windows::MDT_EFFECTIVE_DPI, &dpiX, &dpiY)))
    return 0;
  return static_cast<int>(dpiY);
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
