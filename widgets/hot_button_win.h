#pragma once

#include <windows.h>

// The hot-tracking push button as a child window of its own class. Create it with
// CreateWindowExW and this class name (the caption is its text, WS_DISABLED starts it
// disabled, WM_SETFONT gives its font). Like a standard button it tells its parent of a click
// with WM_COMMAND / BN_CLICKED and answers BM_CLICK.
const wchar_t* HotButtonClassName();

// Enables or disables the button; disabling it while it has the focus moves the focus to the
// window it sits in, and enabling it does not bring the focus back.
void SetHotButtonEnabled(HWND button, bool enabled);

// The DPI the button is shown at, as the window it sits in has it; repaints. Until told, the
// button is drawn at 96.
void SetHotButtonDpi(HWND button, int dpi);

// Whether the screen shows more than 256 colours, as it did when the first button was made.
bool IsFullColorDisplay();
