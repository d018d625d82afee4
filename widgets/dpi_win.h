#pragma once

#include <windows.h>

// The display scale as the system gives it. The functions Windows 10 has for a DPI of one's
// own choosing are used where they exist; on Windows 7 and 8.1 the system-wide DPI and the
// plain functions stand in for them.

// The DPI of the monitor the window is on; the system's where that is not known.
int WindowDpi(HWND window);

// A GetSystemMetrics value as it is at the given DPI.
int SystemMetricForDpi(int index, int dpi);

// AdjustWindowRectEx for a window without a menu, at the given DPI.
bool AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi);
