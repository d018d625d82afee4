#include "widgets/hot_button_win.h"

#include <string>
#include <utility>

#include "base/scoped_gdi_win.h"
#include "base/text_win.h"
#include "base/window_object_win.h"
#include "widgets/accessible_win.h"
#include "widgets/face_buffer_win.h"
#include "widgets/hot_button.h"
#include "widgets/parent_background_win.h"
#include "widgets/pixel_surface.h"
#include "widgets/system_color_scheme_win.h"

namespace {

constexpr wchar_t kClassName[] = L"THotMenuButton";

bool IsHotButton(HWND window) {
  wchar_t name[32] = {};
  return window && GetClassNameW(window, name, 32) && std::wstring(name) == kClassName;
}

bool KeyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }

ButtonKey KeyOf(WPARAM key) {
  switch (key) {
    case VK_SPACE:
      return ButtonKey::Space;
    case VK_RETURN:
      return ButtonKey::Enter;
    case VK_F4:
      return ButtonKey::F4;
  }
  return ButtonKey::Other;
}

Point PointOf(LPARAM lParam) {
  return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// The caption drawn by the system into the buffer the rest of the button is composed in.
class GdiCaption : public CaptionPainter {
 public:
  GdiCaption(HDC dc, std::wstring text, UINT format)
      : dc_(dc), text_(std::move(text)), format_(format) {}

  int MeasureHeight(const Rect& rect) override {
    RECT r{rect.left, rect.top, rect.right, rect.bottom};
    DrawTextW(dc_, text_.c_str(), -1, &r, format_ | DT_CALCRECT);
    return r.bottom - r.top;
  }

  void Draw(const Rect& rect, Rgb color) override {
    RECT r{rect.left, rect.top, rect.right, rect.bottom};
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, ColorRef(color));
    DrawTextW(dc_, text_.c_str(), -1, &r, format_);
    // The pixels are drawn on directly next.
    GdiFlush();
  }

 private:
  HDC dc_;
  std::wstring text_;
  UINT format_;
};

class HotButtonWindow : public HotButton::Host {
 public:
  HotButtonWindow(HWND window, const CREATESTRUCTW& create)
      : window_(window), button_(*this, create.cx, create.cy) {}

  HotButton& Button() { return button_; }
  void SetScale(DisplayScale scale) {
    scale_ = scale;
    Repaint();
  }
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  AccessibleFacts Facts() const;

 private:
  LRESULT OnGetDlgCode(const MSG* message) const;
  void OnKeyDown(WPARAM key, bool alt);
  void PaintTo(HDC target);
  ButtonFlags Flags() const;

  bool TakeFocus() override {
    SetFocus(window_);
    return GetFocus() == window_;
  }
  void GiveUpFocus() override { SetFocus(GetAncestor(window_, GA_ROOT)); }
  void EnableWindow(bool enabled) override { ::EnableWindow(window_, enabled); }
  void CapturePointer() override { SetCapture(window_); }
  void ReleasePointer() override {
    if (GetCapture() == window_) ReleaseCapture();
  }
  void TrackLeave() override {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window_, 0};
    TrackMouseEvent(&track);
  }
  // Every change of the state repaints; readers hear of those the system does not announce.
  void Repaint() override {
    InvalidateRect(window_, nullptr, FALSE);
    announcer_.Show(window_, Flags());
  }
  // A dialog box ends with the result, as a modal window does; other windows have none.
  void SetOwnerModalResult(int result) override {
    if (result != 0) EndDialog(GetAncestor(window_, GA_ROOT), result);
  }
  void RaiseClick() override {
    SendMessageW(GetParent(window_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window_), BN_CLICKED),
                 reinterpret_cast<LPARAM>(window_));
  }

  HWND window_;
  HotButton button_;
  HotButtonLook look_;
  SystemColorScheme scheme_;
  DisplayScale scale_;
  HFONT font_ = nullptr;
  StateAnnouncer announcer_;
};

using HotButtonWindows = WindowOwnedObject<HotButtonWindow>;

HotButtonWindow* WindowOf(HWND window) {
  return IsHotButton(window) ? HotButtonWindows::Of(window) : nullptr;
}

LRESULT HotButtonWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      if (GetWindowLongW(window_, GWL_STYLE) & WS_DISABLED) button_.SetEnabled(false);
      return 0;
    case WM_SIZE:
      button_.Resize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_ENABLE:
      button_.SetEnabled(wParam != 0);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window_, &paint);
      PaintTo(dc);
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintTo(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) Repaint();
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcW(window_, message, wParam, lParam);
      RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      return result;
    }
    case WM_MOUSEMOVE:
      button_.PointerMove(PointOf(lParam));
      return 0;
    case WM_MOUSELEAVE:
      button_.PointerLeft();
      return 0;
    case WM_LBUTTONDOWN:
      button_.LeftDown();
      return 0;
    case WM_LBUTTONUP:
      button_.LeftUp(PointOf(lParam));
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != window_) button_.CaptureLost();
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(wParam, false);
      return 0;
    case WM_SYSKEYDOWN:
      OnKeyDown(wParam, true);
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      button_.KeyUp(KeyOf(wParam));
      break;
    case WM_SETFOCUS:
      button_.FocusChanged(true);
      button_.FocusMoved(true, true);
      return 0;
    case WM_KILLFOCUS:
      button_.FocusChanged(false);
      button_.FocusMoved(false, IsHotButton(reinterpret_cast<HWND>(wParam)));
      return 0;
    case WM_GETDLGCODE:
      return OnGetDlgCode(reinterpret_cast<const MSG*>(lParam));
    case BM_CLICK:
      if (IsWindowEnabled(window_)) button_.Click();
      return 0;
    case WM_GETOBJECT:
      if (AsksForClientObject(lParam)) return AnswerClientObjectOf<WindowOf>(window_, wParam);
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

// Enter reaches the button instead of the window's own handling of it, so the button can
// decide, as the window's dialog key, whether it clicks.
LRESULT HotButtonWindow::OnGetDlgCode(const MSG* message) const {
  LRESULT code = DLGC_BUTTON | (button_.State().active ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
  if (message && message->message == WM_KEYDOWN && message->wParam == VK_RETURN)
    code |= DLGC_WANTMESSAGE;
  return code;
}

void HotButtonWindow::OnKeyDown(WPARAM key, bool alt) {
  const ButtonKey pressed = KeyOf(key);
  if (pressed == ButtonKey::Enter) {
    button_.DialogKey(pressed, KeyHeld(VK_SHIFT), KeyHeld(VK_CONTROL), alt);
  } else {
    button_.KeyDown(pressed, alt);
  }
}

ButtonFlags HotButtonWindow::Flags() const {
  const HotButtonState& state = button_.State();
  return {state.enabled, state.focused, state.pressedLook, state.pointerOver};
}

AccessibleFacts HotButtonWindow::Facts() const {
  return PushButtonFacts(Narrow(WindowText(window_)), Flags());
}

// Composed off screen, the caption included, and copied in one step, so the button never
// shows half drawn.
void HotButtonWindow::PaintTo(HDC target) {
  RECT client;
  GetClientRect(window_, &client);
  FaceBuffer face(target, client.right, client.bottom);
  if (!face.Ready()) return;
  ScopedSelect font(face.Dc(), font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
  // The see-through corners keep what the window behind shows there.
  PaintParentBackground(window_, face.Dc());
  UINT format = DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS;
  if (GetWindowLongW(window_, GWL_EXSTYLE) & WS_EX_RTLREADING) format |= DT_RTLREADING;
  GdiCaption caption(face.Dc(), WindowText(window_), format);
  PaintHotButton(face.Pixels(), {0, 0, client.right, client.bottom}, button_.State(), look_,
                 {scheme_, IsFullColorDisplay(), scale_, IsHighContrast()}, caption);
  face.CopyTo(target);
}

}  // namespace

const wchar_t* HotButtonClassName() {
  // Registered once, when the first button is about to be made; the display's colour depth
  // is taken then as well.
  static const bool registered = [] {
    IsFullColorDisplay();
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = HotButtonWindows::WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    return RegisterClassExW(&windowClass) != 0;
  }();
  return registered ? kClassName : nullptr;
}

void SetHotButtonEnabled(HWND button, bool enabled) {
  if (HotButtonWindow* self = WindowOf(button)) self->Button().SetEnabled(enabled);
}

void SetHotButtonDpi(HWND button, int dpi) {
  if (HotButtonWindow* self = WindowOf(button)) self->SetScale(DisplayScale(dpi));
}

bool IsFullColorDisplay() {
  static const bool fullColor = [] {
    WindowDC screen(nullptr);
    // A palette device reports the size of its colour table; any deeper one reports none.
    return GetDeviceCaps(screen, NUMCOLORS) == -1;
  }();
  return fullColor;
}
