#include "widgets/flat_combo_box_win.h"

#include <commctrl.h>

#include <algorithm>

#include "base/common_controls_win.h"
#include "base/failure.h"
#include "base/text_win.h"
#include "widgets/accessible_win.h"
#include "widgets/dc_surface_win.h"
#include "widgets/dpi_win.h"
#include "widgets/system_color_scheme_win.h"

namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr UINT_PTR kSearchTimer = 0x5EA;

FlatComboBox::Key KeyOf(WPARAM virtualKey) {
  using Key = FlatComboBox::Key;
  switch (virtualKey) {
    case VK_ESCAPE:
      return Key::Escape;
    case VK_PRIOR:
      return Key::PageUp;
    case VK_NEXT:
      return Key::PageDown;
    case VK_END:
      return Key::End;
    case VK_HOME:
      return Key::Home;
    case VK_LEFT:
      return Key::Left;
    case VK_UP:
      return Key::Up;
    case VK_RIGHT:
      return Key::Right;
    case VK_DOWN:
      return Key::Down;
    default:
      return Key::Other;
  }
}

}  // namespace

void FlatComboBoxWin::Create(HWND parent, int id, const Rect& bounds) {
  window_ = CreateWindowExW(
      0, L"COMBOBOX", L"",
      WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
      bounds.left, bounds.top, bounds.Width(), bounds.Height(), parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  if (GetComboBoxInfo(window_, &info)) list_ = info.hwndList;
  CommonControlsLibrary().SetWindowSubclass(window_, SubclassProc, kSubclassId,
                                            reinterpret_cast<DWORD_PTR>(this));
  SyncSize();
  state_.RefreshStateColor();
  state_.OnFocusChanged(GetFocus() == window_);
}

void FlatComboBoxWin::SetFont(HFONT font, int itemHeight) {
  SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  SendMessageW(window_, CB_SETITEMHEIGHT, 0, itemHeight);
}

LRESULT FlatComboBoxWin::CallNative(UINT message, WPARAM wParam, LPARAM lParam) {
  return CommonControlsLibrary().DefSubclassProc(window_, message, wParam, lParam);
}

LRESULT CALLBACK FlatComboBoxWin::SubclassProc(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam, UINT_PTR, DWORD_PTR self) {
  auto* box = reinterpret_cast<FlatComboBoxWin*>(self);
  if (message == WM_NCDESTROY) {
    CommonControlsLibrary().RemoveWindowSubclass(window, SubclassProc, kSubclassId);
    box->window_ = nullptr;
    return CommonControlsLibrary().DefSubclassProc(window, message, wParam, lParam);
  }
  return box->OnMessage(message, wParam, lParam);
}

LRESULT FlatComboBoxWin::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
      OnPaint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_SIZE: {
      const LRESULT result = CallNative(message, wParam, lParam);
      SyncSize();
      Invalidate(state_.ClientRect(), true);
      return result;
    }
    case WM_MOUSEMOVE:
      OnMouseMove();
      break;
    case WM_MOUSELEAVE:
      OnMouseLeave();
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      const LRESULT result = CallNative(message, wParam, lParam);
      state_.OnFocusChanged(message == WM_SETFOCUS);
      return result;
    }
    case WM_ENABLE: {
      const LRESULT result = CallNative(message, wParam, lParam);
      state_.SetEnabled(wParam != 0);
      return result;
    }
    case WM_CHAR:
      return OnChar(wParam, lParam);
    case WM_KEYDOWN:
      state_.OnKeyDown(KeyOf(wParam));
      break;
    case WM_TIMER:
      if (wParam != kSearchTimer) break;
      state_.OnSearchTimer();
      return 0;
    case WM_MOUSEWHEEL:
      state_.OnWheel(GET_WHEEL_DELTA_WPARAM(wParam));
      return 0;
    case WM_GETOBJECT:
      if (label_ && AsksForClientObject(lParam)) {
        return AnswerClientObject(
            window_, wParam, [label = label_] { return NamedFacts(Narrow(WindowText(label))); });
      }
      break;
  }
  return CallNative(message, wParam, lParam);
}

bool FlatComboBoxWin::Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (!IsOwnWindow(reinterpret_cast<HWND>(lParam))) return false;
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == CBN_DROPDOWN) OnDropDown();
      if (HIWORD(wParam) == CBN_CLOSEUP) OnCloseUp();
      if (HIWORD(wParam) == CBN_SELCHANGE) state_.OnPlatformSelect();
      result = 0;
      return true;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
      result = OnColor(reinterpret_cast<HDC>(wParam));
      return true;
  }
  return false;
}

// The platform paints first; the frame and button go straight on top, in the same context, so
// a paint into a memory context or a print gets them too.
void FlatComboBoxWin::OnPaint(HDC given) {
  PAINTSTRUCT paint{};
  HDC dc = given ? given : BeginPaint(window_, &paint);
  CallNative(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  SyncSize();
  DcSurface surface(dc);
  state_.Paint(surface, SystemColorScheme());
  if (!given) EndPaint(window_, &paint);
}

void FlatComboBoxWin::OnMouseMove() {
  if (!trackingLeave_) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window_, 0};
    trackingLeave_ = TrackMouseEvent(&track);
  }
  state_.OnPointerOver(true);
}

void FlatComboBoxWin::OnMouseLeave() {
  trackingLeave_ = false;
  state_.OnPointerOver(false);
}

// Characters beyond the first plane arrive as two halves.
LRESULT FlatComboBoxWin::OnChar(WPARAM wParam, LPARAM lParam) {
  const auto unit = static_cast<wchar_t>(wParam);
  if (IS_HIGH_SURROGATE(unit)) {
    highSurrogate_ = unit;
    return 0;
  }
  char32_t c = unit;
  if (IS_LOW_SURROGATE(unit) && highSurrogate_)
    c = 0x10000 + ((static_cast<char32_t>(highSurrogate_) - 0xD800) << 10) + (unit - 0xDC00);
  highSurrogate_ = 0;
  if (state_.OnChar(c)) return 0;
  return CallNative(WM_CHAR, wParam, lParam);
}

// The list is sized to its entries each time it opens: at least one row, at most
// DropDownCount, and a longer list scrolls.
void FlatComboBoxWin::OnDropDown() {
  state_.OnDropDown();
  RECT frame;
  GetWindowRect(window_, &frame);
  const int rowHeight = static_cast<int>(SendMessageW(window_, CB_GETITEMHEIGHT, 0, 0));
  const int height =
      DroppedDownHeight(Count(), rowHeight, state_.ClientRect().bottom, state_.DropDownCount);
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The pointer may have left while the open list held the mouse, and no leave notice came.
void FlatComboBoxWin::OnCloseUp() {
  state_.OnCloseUp();
  POINT pointer{};
  if (GetCursorPos(&pointer) && WindowFromPoint(pointer) != window_) OnMouseLeave();
}

LRESULT FlatComboBoxWin::OnColor(HDC dc) {
  const COLORREF color = ResolveColor(state_.Color());
  if (!brush_ || color != brushColor_) {
    brush_.reset(CreateSolidBrush(color));
    brushColor_ = color;
  }
  SetBkColor(dc, color);
  SetTextColor(dc, GetSysColor(IsWindowEnabled(window_) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
  return reinterpret_cast<LRESULT>(brush_.get());
}

void FlatComboBoxWin::SetDpi(int dpi) {
  dpi_ = dpi;
  SyncSize();
  state_.SetScale(DisplayScale(dpi));
}

void FlatComboBoxWin::SyncSize() {
  RECT client{};
  GetClientRect(window_, &client);
  state_.SetSize(client.right, client.bottom, ScrollBarWidth());
}

// The width the platform's own button takes, which the flat one covers. Until the control is
// told a DPI, the platform sizes that button by the plain metric.
int FlatComboBoxWin::ScrollBarWidth() const {
  return dpi_ ? SystemMetricForDpi(SM_CXVSCROLL, *dpi_) : GetSystemMetrics(SM_CXVSCROLL);
}

bool FlatComboBoxWin::IsOwnWindow(HWND window) const {
  return window && (window == window_ || window == list_);
}

int FlatComboBoxWin::Add(const std::string& text) {
  const LRESULT added =
      SendMessageW(window_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
  if (added == CB_ERR || added == CB_ERRSPACE) throw UnableToInsertLine();
  return static_cast<int>(added);
}

std::string FlatComboBoxWin::Text() const {
  const int selected = Selected();
  return selected < 0 ? std::string() : Item(selected);
}

void FlatComboBoxWin::SetVisible(bool visible) {
  ShowWindow(window_, visible ? SW_SHOWNA : SW_HIDE);
}

int FlatComboBoxWin::Count() const {
  return static_cast<int>(SendMessageW(window_, CB_GETCOUNT, 0, 0));
}

std::string FlatComboBoxWin::Item(int index) const {
  const LRESULT length = SendMessageW(window_, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) return {};
  std::wstring text(length + 1, L'\0');
  SendMessageW(window_, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(length);
  return Narrow(text);
}

int FlatComboBoxWin::Selected() const {
  return static_cast<int>(SendMessageW(window_, CB_GETCURSEL, 0, 0));
}

void FlatComboBoxWin::Select(int index) { SendMessageW(window_, CB_SETCURSEL, index, 0); }

int FlatComboBoxWin::TopIndex() const {
  return static_cast<int>(SendMessageW(window_, CB_GETTOPINDEX, 0, 0));
}

void FlatComboBoxWin::SetTopIndex(int index) { SendMessageW(window_, CB_SETTOPINDEX, index, 0); }

int FlatComboBoxWin::WheelScrollLines() const {
  UINT lines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  // A page a notch means the rows the open list shows.
  if (lines == WHEEL_PAGESCROLL) return state_.DropDownCount;
  return static_cast<int>(std::min<UINT>(lines, 0x7FFF));
}

void FlatComboBoxWin::Beep() { MessageBeep(MB_OK); }

void FlatComboBoxWin::RestartSearchTimer(int milliseconds) {
  SetTimer(window_, kSearchTimer, static_cast<UINT>(milliseconds), nullptr);
}

void FlatComboBoxWin::StopSearchTimer() { KillTimer(window_, kSearchTimer); }

void FlatComboBoxWin::Invalidate(const Rect& area, bool erase) {
  if (!window_) return;
  const RECT rect{area.left, area.top, area.right, area.bottom};
  InvalidateRect(window_, &rect, erase);
}
