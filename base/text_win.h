#pragma once

#include <windows.h>

#include <string>

// The tool holds its texts as UTF-8 and talks to the system only in UTF-16, so what is shown
// does not depend on the system's ANSI code page.
std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& utf16);

// A window's text, a control's caption.
std::wstring WindowText(HWND window);

// The system's own text for an error code, as FormatMessage gives it.
std::string SystemErrorText(unsigned long code);
