#pragma once

#include <windows.h>

#include <string>

#include "widgets/image_button.h"

// The window class of image buttons, registered on first use. A click reaches the parent as
// WM_COMMAND with BN_CLICKED, as from a standard button, and BM_CLICK clicks it.
const wchar_t* ImageButtonClass();

// The images and key colour of an image button window, which changing resizes and repaints;
// nullptr for any other window.
TImageButtonBitmaps* ImageButtonBitmaps(HWND button);

// The button's hint, which assistive technology reads as its name; the window that shows the
// hint keeps its own copy.
void SetImageButtonHint(HWND button, const std::string& hint);

// A bitmap resource of the module as a picture.
Picture LoadPictureResource(HINSTANCE module, const wchar_t* name);
