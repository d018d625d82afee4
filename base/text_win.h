#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// The tool holds its texts as UTF-8 and talks to the system only in UTF-16, so what is shown
// does not depend on the system's ANSI code page.
std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& utf16);

// Whether two names, or paths, are the same to the file system, whose case Windows folds in every
// script (Cyrillic and Kazakh letters too, not only Latin ones).
bool SameFileNames(std::string_view a, std::string_view b);

// A window's text, a control's caption.
std::wstring WindowText(HWND window);

// The system's own text for an error code, as FormatMessage gives it.
std::string SystemErrorText(unsigned long code);
