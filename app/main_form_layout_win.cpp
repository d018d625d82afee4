#include "app/main_form_win.h"

#include <commctrl.h>

#include "base/text_win.h"
#include "widgets/display_scale.h"
#include "widgets/dpi_win.h"
#include "widgets/hot_button_win.h"
#include "widgets/image_button_win.h"
#include "widgets/window_frame.h"

namespace {

// The hint's width limit at 96 DPI, which lets it break into its two lines.
constexpr int kHintMaxWidth = 400;

// The window's texts are Russian: asking for the Cyrillic character set makes the system pick a
// face that has the letters even where its own code page is not Cyrillic.
HFONT CreateUiFont(int height, const wchar_t* face) {
  return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, RUSSIAN_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, face);
}

// The face asked for where the system has it, else the fallback: the system's own stand-in for a
// missing face may be a much wider one, which would push the prompt under the drive list.
HFONT CreateUiFont(int height, const std::string& face, const char* fallback) {
  const std::wstring wanted = Widen(face);
  HFONT font = CreateUiFont(height, wanted.c_str());
  if (!fallback) return font;
  WindowDC screen(nullptr);
  wchar_t found[LF_FACESIZE] = {};
  {
    ScopedSelect selected(screen, font);
    GetTextFaceW(screen, LF_FACESIZE, found);
  }
  if (lstrcmpiW(found, wanted.c_str()) == 0) return font;
  DeleteObject(font);
  return CreateUiFont(height, Widen(fallback).c_str());
}

// The version 5 tooltip takes the system's status font as it is at the DPI the session started
// with; on a monitor of another DPI it would show it at the wrong size.
HFONT CreateHintFont(int dpi) {
  LOGFONTW font = NonClientMetricsForDpi(dpi).lfStatusFont;
  return CreateFontIndirectW(&font);
}

void PlaceControl(HWND control, const Rect& bounds) {
  SetWindowPos(control, nullptr, bounds.left, bounds.top, bounds.Width(), bounds.Height(),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void MoveControl(HWND control, Point to) {
  SetWindowPos(control, nullptr, to.x, to.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetControlFont(HWND control, HFONT font) {
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

}  // namespace

void TForm1::ApplyDpi(int dpi) {
  dpi_ = dpi;
  layout_ = LayoutForm(dpi);
  // The controls take the new fonts before the old ones go with the assignments below.
  ScopedGdiObject<HFONT> formFont(
      CreateUiFont(layout_.fontHeight, layout_.fontFace, layout_.fallbackFontFace));
  ScopedGdiObject<HFONT> fullVerFont(CreateUiFont(layout_.fullVerFontHeight, L"Arial"));
  ScopedGdiObject<HFONT> hintFont(CreateHintFont(dpi));
  for (HWND control : {Label1, SaveButton}) SetControlFont(control, formFont.get());
  DeviceBox.SetFont(formFont.get(), layout_.itemHeight);
  SetControlFont(FullVer, fullVerFont.get());
  SetControlFont(hint_, hintFont.get());
  formFont_ = std::move(formFont);
  fullVerFont_ = std::move(fullVerFont);
  hintFont_ = std::move(hintFont);

  MoveControl(Label1, layout_.label1);
  SizePromptToText();
  PlaceControl(DeviceBox.Handle(), layout_.deviceBox);
  DeviceBox.SetDpi(dpi);
  PlaceControl(SaveButton, layout_.saveButton);
  SetHotButtonDpi(SaveButton, dpi);
  SetInfoButtonPictures(layout_.infoPictureSize);
  MoveControl(InfoButton, layout_.infoButton);
  PlaceControl(FullVer, layout_.fullVer);
  SendMessageW(hint_, TTM_SETMAXTIPWIDTH, 0, DisplayScale(dpi).Px(kHintMaxWidth));
}

// The window's rectangle with its top-left corner at `at`: the client area laid out for the DPI
// inside the frame the system draws around it.
Rect TForm1::FramedBounds(int dpi, Point at) const {
  RECT frame{};
  AdjustWindowRectForDpi(frame, kFormStyle, 0, FrameDpi(frameScales_, dpi, SystemDpi()));
  const FormLayout layout = LayoutForm(dpi);
  return FramedWindow(at, layout.clientWidth, layout.clientHeight,
                      {-frame.left, -frame.top, frame.right, frame.bottom});
}

void TForm1::PlaceAt(int dpi, Point at) {
  const Rect bounds = FramedBounds(dpi, at);
  SetWindowPos(window_, nullptr, bounds.left, bounds.top, bounds.Width(), bounds.Height(),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm1::PlaceCentred() {
  const Rect size = FramedBounds(dpi_, {});
  PlaceAt(dpi_, {(GetSystemMetrics(SM_CXSCREEN) - size.Width()) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - size.Height()) / 2});
}

// Moved to a monitor of another DPI: the window put where the system suggests, then everything in
// it laid out again. Not at the suggested size: that is the old window scaled whole, and a frame
// the system does not scale leaves the client area too small or too large in it.
void TForm1::OnDpiChanged(int dpi, const RECT& suggested) {
  PlaceAt(dpi, {suggested.left, suggested.top});
  ApplyDpi(dpi);
  InvalidateRect(window_, nullptr, TRUE);
}

// One line, as wide as its text. Hinted glyphs may come out a pixel or two wider than the text
// measures (Wine's Tahoma at 14 pixels does), so a little room keeps the last character whole.
void TForm1::SizePromptToText() {
  const std::wstring text = WindowText(Label1);
  WindowDC dc(Label1);
  ScopedSelect font(dc, formFont_.get());
  SIZE extent{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  const int room = text.empty() ? 0 : DisplayScale(dpi_).Px(2);
  SetWindowPos(Label1, nullptr, 0, 0, extent.cx + room, extent.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The badge sits on a pure white ground, which is see-through, as are a few white highlights
// inside it. The button takes the pictures' size.
void TForm1::SetInfoButtonPictures(int size) {
  TImageButtonBitmaps* pictures = ImageButtonBitmaps(InfoButton);
  if (!pictures) return;
  const HINSTANCE module = GetModuleHandleW(nullptr);
  const std::wstring sized = std::to_wstring(size);
  pictures->SetImage(ButtonImage::Up, LoadPictureResource(module, (L"BTNUP" + sized).c_str()));
  pictures->SetImage(ButtonImage::Hot, LoadPictureResource(module, (L"BTNHOT" + sized).c_str()));
  pictures->SetImage(ButtonImage::Down, LoadPictureResource(module, (L"BTNDOWN" + sized).c_str()));
  pictures->SetTransparentColor(clWhite);
}
