#pragma once

#include <windows.h>

// The display scale as the system gives it. The functions Windows 10 has for a DPI of one's
// own choosing are used where they exist; on Windows 7 and 8.1 the system-wide DPI and the
// plain functions stand in for them, and on 8.1 the monitor tells a window its DPI.

// The DPI the session started with, whose sizes the system's own metrics have.
int SystemDpi();

// The DPI of the monitor the window is on; the system's where that is not known.
int WindowDpi(HWND window);

// The effective DPI of the monitor nearest the window, as GetDpiForMonitor tells it to this
// per-monitor aware process; 0 where the system lacks the function (before Windows 8.1).
int MonitorDpi(HWND window);

// Whether the system scales the window's frame with its monitor's DPI: under per-monitor
// awareness version 2 it does; under version 1 only once asked to, which this does where the
// system can be asked (Windows 10 1607 on). Called while the window handles WM_NCCREATE, the
// only time the system takes the request.
bool ScaleFrameWithDpi(HWND window);

// A GetSystemMetrics value as it is at the given DPI.
int SystemMetricForDpi(int index, int dpi);

// AdjustWindowRectEx for a window without a menu, at the given DPI.
bool AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi);

// The system's fonts and non-client sizes as they are at the given DPI.
NONCLIENTMETRICSW NonClientMetricsForDpi(int dpi);
