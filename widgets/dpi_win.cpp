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
