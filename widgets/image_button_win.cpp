#include "widgets/image_button_win.h"

#include <cstdint>
#include <string>
#include <vector>

#include "base/scoped_gdi_win.h"
#include "base/window_object_win.h"
#include "widgets/accessible_win.h"
#include "widgets/face_buffer_win.h"
#include "widgets/parent_background_win.h"
#include "widgets/pixel_surface.h"
#include "widgets/system_color_scheme_win.h"

namespace {

constexpr wchar_t kClassName[] = L"TImageButton";
constexpr DWORD kBackgroundPause = 10;

Point ClientPoint(LPARAM lParam) {
  // Signed: with the mouse captured the pointer may be left of or above the button.
  return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// The window side of an image button: turns messages into inputs of the portable button and
// its reactions into focus, repaints and clicks.
class ImageButtonWindow {
 public:
  ImageButtonWindow(HWND window, const CREATESTRUCTW& create) : window_(window) {
    button_.Resize({create.cx, create.cy});
    button_.Bitmaps().OnChange = [this] { OnBitmapsChanged(); };
  }

  TImageButtonBitmaps& Bitmaps() { return button_.Bitmaps(); }
  void SetHint(const std::string& hint) { hint_ = hint; }
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  AccessibleFacts Facts() const;

 private:
  void Act(const Reaction& reaction);
  void Handle(ButtonInput::Kind kind, Point at = {}) { Act(button_.Handle({kind, at})); }
  void OnBitmapsChanged();
  void OnWindowPosChanging(WINDOWPOS& position);
  void OnMouseMove(Point at);
  void OnMouseLeave();
  void OnButtonDown(bool left, Point at);
  void OnLeftUp(Point at);
  void Click();
  void Paint(HDC target);
  ButtonFlags Flags() const;

  HWND window_;
  ImageButton button_;
  bool trackingLeave_ = false;
  std::string hint_;
  StateAnnouncer announcer_;
};

using ImageButtonWindows = WindowOwnedObject<ImageButtonWindow>;

ImageButtonWindow* WindowOf(HWND button) {
  const bool isImageButton = GetClassLongPtrW(button, GCLP_WNDPROC) ==
                             reinterpret_cast<ULONG_PTR>(&ImageButtonWindows::WindowProc);
  return isImageButton ? ImageButtonWindows::Of(button) : nullptr;
}

// Every input ends here with the button's new state, before any click it brings.
void ImageButtonWindow::Act(const Reaction& reaction) {
  announcer_.Show(window_, Flags());
  if (reaction.takeFocus && IsWindowVisible(window_)) SetFocus(window_);
  if (reaction.repaint == Repaint::Later) InvalidateRect(window_, nullptr, FALSE);
  if (reaction.repaint == Repaint::Now)
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  // Last: the click's handler may close the window.
  if (reaction.click) Click();
}

void ImageButtonWindow::OnBitmapsChanged() {
  // Asking for the present size runs the sizing rule in OnWindowPosChanging.
  const Extent size = button_.Size();
  SetWindowPos(window_, nullptr, 0, 0, size.width, size.height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(window_, nullptr, FALSE);
}

// Every resize, whoever asks for it, snaps back to the size the pictures give.
void ImageButtonWindow::OnWindowPosChanging(WINDOWPOS& position) {
  if (position.flags & SWP_NOSIZE) return;
  const Extent size = button_.Resize({position.cx, position.cy});
  position.cx = size.width;
  position.cy = size.height;
}

// A captured pointer keeps reporting its moves outside the button; that is where it leaves.
void ImageButtonWindow::OnMouseMove(Point at) {
  const Extent size = button_.Size();
  const bool inside = Rect{0, 0, size.width, size.height}.Contains(at);
  if (inside && !button_.Hot()) {
    if (!trackingLeave_) {
      TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window_, 0};
      trackingLeave_ = TrackMouseEvent(&track);
    }
    Handle(ButtonInput::PointerEnter);
  } else if (!inside && button_.Hot()) {
    Handle(ButtonInput::PointerLeave);
  }
  Handle(ButtonInput::PointerMove, at);
}

void ImageButtonWindow::OnMouseLeave() {
  trackingLeave_ = false;
  if (button_.Hot()) Handle(ButtonInput::PointerLeave);
}

// The button holds the mouse while any of its buttons is down, so a release anywhere comes
// back here and only a release inside clicks.
void ImageButtonWindow::OnButtonDown(bool left, Point at) {
  SetCapture(window_);
  Handle(ButtonInput::MouseDown);
  if (left) Handle(ButtonInput::LeftDown, at);
}

void ImageButtonWindow::OnLeftUp(Point at) {
  const Reaction reaction = button_.Handle({ButtonInput::LeftUp, at});
  // Let go of the mouse before the click, whose handler may open a modal box.
  ReleaseCapture();
  Act(reaction);
}

void ImageButtonWindow::Click() {
  SendMessageW(GetParent(window_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window_), BN_CLICKED),
               reinterpret_cast<LPARAM>(window_));
}

// The face is put together off screen and reaches the screen in one copy, so the parent's
// background never shows there without the picture on it.
void ImageButtonWindow::Paint(HDC target) {
  RECT client;
  GetClientRect(window_, &client);
  FaceBuffer face(target, client.right, client.bottom);
  if (!face.Ready()) return;
  PaintParentBackground(window_, face.Dc());
  PixelSurface& pixels = face.Pixels();
  // A borderless face waits this long between the background and the picture; nothing of the
  // wait shows, as the screen gets the face only when it is whole.
  Sleep(kBackgroundPause);
  button_.Paint(pixels, SystemColorScheme());
  face.CopyTo(target);
}

ButtonFlags ImageButtonWindow::Flags() const {
  return {IsWindowEnabled(window_) != FALSE, button_.Focused(), button_.Look() == ButtonLook::Down,
          button_.Hot()};
}

AccessibleFacts ImageButtonWindow::Facts() const {
  return PushButtonFacts(NameFromHint(hint_), Flags());
}

LRESULT ImageButtonWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_WINDOWPOSCHANGING:
      OnWindowPosChanging(*reinterpret_cast<WINDOWPOS*>(lParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint covers every pixel
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(window_, &ps);
      Paint(ps.hdc);
      EndPaint(window_, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(ClientPoint(lParam));
      return 0;
    case WM_MOUSELEAVE:
      OnMouseLeave();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:  // the second press of a double click is one more press
      OnButtonDown(true, ClientPoint(lParam));
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      OnButtonDown(false, ClientPoint(lParam));
      return 0;
    case WM_LBUTTONUP:
      OnLeftUp(ClientPoint(lParam));
      return 0;
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (GetCapture() == window_) ReleaseCapture();
      return 0;
    case WM_CAPTURECHANGED:
      Handle(ButtonInput::CaptureLost);
      return 0;
    case WM_GETDLGCODE: {
      // The dialog manager would turn Enter into a command of the window; the button wants it.
      const auto* msg = reinterpret_cast<const MSG*>(lParam);
      return msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN ? DLGC_WANTMESSAGE : 0;
    }
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) Handle(ButtonInput::EnterDown);
      if (wParam == VK_SPACE) Handle(ButtonInput::SpaceDown);
      return 0;
    case WM_KEYUP:
      Handle(ButtonInput::KeyUp);
      return 0;
    case WM_SETFOCUS:
      Handle(ButtonInput::FocusGained);
      return 0;
    case WM_KILLFOCUS:
      Handle(ButtonInput::FocusLost);
      return 0;
    case WM_ENABLE:
      Handle(wParam ? ButtonInput::Enabled : ButtonInput::Disabled);
      return 0;
    case BM_CLICK:
      Click();
      return 0;
    case WM_GETOBJECT:
      if (AsksForClientObject(lParam)) return AnswerClientObjectOf<WindowOf>(window_, wParam);
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace

const wchar_t* ImageButtonClass() {
  static const ATOM registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    // Double clicks arrive as such, so that the second press counts as a press of its own.
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = ImageButtonWindows::WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    return RegisterClassExW(&windowClass);
  }();
  return registered ? kClassName : nullptr;
}

TImageButtonBitmaps* ImageButtonBitmaps(HWND button) {
  ImageButtonWindow* window = WindowOf(button);
  return window ? &window->Bitmaps() : nullptr;
}

void SetImageButtonHint(HWND button, const std::string& hint) {
  if (ImageButtonWindow* window = WindowOf(button)) window->SetHint(hint);
}

Picture LoadPictureResource(HINSTANCE module, const wchar_t* name) {
  ScopedGdiObject<HBITMAP> bitmap(
      static_cast<HBITMAP>(LoadImageW(module, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  BITMAP header{};
  if (!bitmap || !GetObjectW(bitmap.get(), sizeof(header), &header)) return {};
  BITMAPINFO info = TopDown32BitmapInfo(header.bmWidth, header.bmHeight);
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(header.bmWidth) * header.bmHeight);
  WindowDC screen(nullptr);
  if (!GetDIBits(screen, bitmap.get(), 0, header.bmHeight, pixels.data(), &info, DIB_RGB_COLORS))
    return {};
  // The fourth byte of a converted 24-bit picture is no colour.
  for (std::uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
  return {header.bmWidth, header.bmHeight, std::move(pixels)};
}
