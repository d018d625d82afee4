#pragma once

#include <windows.h>

// Renders into dc, shifted by the control's position, what its parent window draws behind the
// control: the parent's background, then its own painting, clipped to the parent's client
// area. Does nothing for a control without a parent. The context's state is restored after.
void PaintParentBackground(HWND control, HDC dc);
