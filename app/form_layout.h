#pragma once

#include "widgets/geometry.h"

// Where the main window's parts sit and how large its fonts are on a display of the given pixels
// per inch. Every figure is its value at 96 pixels per inch scaled as the system scales (MulDiv),
// so at 96 they are the window's design-time values. The prompt's size follows its text and the
// drive list's height its font; neither is here.
struct FormLayout {
  int clientWidth = 0;
  int clientHeight = 0;
  Point label1;
  // The drive list's place and width; the height is what the list starts with before its font
  // decides.
  Rect deviceBox;
  int itemHeight = 0;
  Rect saveButton;
  // The information button's top-left corner; it takes the size of its picture.
  Point infoButton;
  int infoPictureSize = 0;
  // The version label's strip along the foot of the client area.
  Rect fullVer;
  // Character heights in pixels, negative as fonts are asked for.
  int fontHeight = 0;
  int fullVerFontHeight = 0;
  // The face of the window's font: the bitmap face at 96, which has only a few sizes that look
  // sharp; its TrueType namesake at every other size, or, where a system lacks that, a face of
  // like width.
  const char* fontFace = nullptr;
  const char* fallbackFontFace = nullptr;
};

FormLayout LayoutForm(int dpi);

// The side of the largest picture of the information button not bigger than 32 × dpi / 96; the
// smallest there is below 96.
int InfoPictureSize(int dpi);
