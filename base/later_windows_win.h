#pragma once

#include <windows.h>

// What the tool uses of Windows later than 7. The tool is built for Windows 7 (CMakeLists.txt sets
// _WIN32_WINNT, WINVER and NTDDI_VERSION), so the system headers declare none of it: it is
// declared here, as the types of functions looked up by name at run time. Imported, any one of
// them would keep the tool from starting on Windows 7 ("entry point not found"); each use has a
// fallback for a system without it.
namespace later_windows {

// kernel32.dll: Windows 8, and Windows 7 with update KB2533623.
using SetDefaultDllDirectories = BOOL WINAPI(DWORD directoryFlags);
// kernel32.dll: Windows 10.
using IsWow64Process2 = BOOL WINAPI(HANDLE process, USHORT* processMachine, USHORT* nativeMachine);

// user32.dll: Windows 10 version 1607; per-monitor awareness version 2 from version 1703.
DECLARE_HANDLE(DPI_AWARENESS_CONTEXT);
inline const DPI_AWARENESS_CONTEXT kPerMonitorAwareV2 = reinterpret_cast<DPI_AWARENESS_CONTEXT>(-4);
using GetWindowDpiAwarenessContext = DPI_AWARENESS_CONTEXT WINAPI(HWND window);
using AreDpiAwarenessContextsEqual = BOOL WINAPI(DPI_AWARENESS_CONTEXT a, DPI_AWARENESS_CONTEXT b);
using GetDpiForWindow = UINT WINAPI(HWND window);
using EnableNonClientDpiScaling = BOOL WINAPI(HWND window);
using GetSystemMetricsForDpi = int WINAPI(int index, UINT dpi);
using AdjustWindowRectExForDpi = BOOL WINAPI(RECT* rect, DWORD style, BOOL menu, DWORD exStyle,
                                             UINT dpi);
using SystemParametersInfoForDpi = BOOL WINAPI(UINT action, UINT parameter, void* value,
                                               UINT update, UINT dpi);

// shcore.dll, a library Windows 7 lacks: Windows 8.1.
enum MONITOR_DPI_TYPE { MDT_EFFECTIVE_DPI = 0 };
using GetDpiForMonitor = HRESULT WINAPI(HMONITOR monitor, MONITOR_DPI_TYPE type, UINT* dpiX,
                                        UINT* dpiY);

}  // namespace later_windows

// The function of that name in a library the process has loaded (kernel32 and user32 always), or
// nullptr where the system lacks it or the library is not loaded. Name it once with
// LATER_WINDOWS_FUNCTION.
template <typename Function>
Function* LaterWindowsFunction(const wchar_t* library, const char* name) {
  const HMODULE module = GetModuleHandleW(library);
  if (!module) return nullptr;
  return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// LATER_WINDOWS_FUNCTION(L"user32.dll", GetDpiForWindow): the function of that name, with the
// type declared above, or nullptr.
#define LATER_WINDOWS_FUNCTION(library, name) \
  LaterWindowsFunction<later_windows::name>(library, #name)
