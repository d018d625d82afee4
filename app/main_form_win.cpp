#include "app/main_form_win.h"

#include <commctrl.h>

#include "app/application_window_win.h"
#include "app/system_menu_win.h"
#include "app/version_display.h"
#include "base/failure.h"
#include "base/text_win.h"
#include "base/texts.h"
#include "base/unwaited_thread_win.h"
#include "base/version_info_win.h"
#include "changelog/show_change_log_win.h"
#include "firmware/stick_check_win.h"
#include "firmware/write_firmware_set_win.h"
#include "journal/journal_file_win.h"
#include "journal/journaled_notice_win.h"
#include "widgets/contrast.h"
#include "widgets/dpi_win.h"
#include "widgets/hot_button_win.h"
#include "widgets/image_button_win.h"
#include "widgets/system_color_scheme_win.h"

ToolWindow* Form1 = nullptr;

namespace {

constexpr wchar_t kWindowClass[] = L"TForm1";
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 1000;
constexpr int kHintPause = 100;
constexpr int kHintHidePause = 2500;

bool IsSystemKey(UINT message) {
  return message == WM_SYSKEYDOWN || message == WM_SYSKEYUP || message == WM_SYSCHAR ||
         message == WM_SYSDEADCHAR;
}

}  // namespace

void TForm1::Create(HINSTANCE instance, HWND owner, int showCommand) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = ObjectWindowProc<TForm1>;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kWindowClass;
  if (!RegisterClassExW(&windowClass))
    throw ErrorCreating("window class", SystemErrorText(GetLastError()));

  // Made where the screen's top-left corner is, on the monitor it is then centred on: only there
  // does the window learn the DPI it is laid out for.
  CreateWindowExW(0, kWindowClass, Widen(kApplicationTitle).c_str(), kFormStyle, 0, 0, 0, 0, owner,
                  nullptr, instance, this);
  if (!window_) throw ErrorCreating("window", SystemErrorText(GetLastError()));
  PlaceCentred();
  SetMainIcon(window_);
  ShowWindow(window_, showCommand);
  UpdateWindow(window_);
}

LRESULT TForm1::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (LRESULT result = 0; DeviceBox.Reflect(message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_NCCREATE:
      // The one moment the system takes a request to scale the frame.
      frameScales_ = ScaleFrameWithDpi(window_);
      break;
    case WM_CREATE:
      CreateControls();
      RunHandler(window_, [this] { FormCreate(); });
      return 0;
    case WM_TIMER:
      if (wParam == kTimer1) RunHandler(window_, [this] { Timer1Timer(); });
      return 0;
    case WM_DEVICECHANGE:
      // A drive just plugged in is looked at now rather than at the next tick; a removal
      // changes nothing, as the list only grows.
      if (IsVolumeArrival(wParam, lParam))
        RunHandler(window_, [this] { drives_->Look(ListedRoots(*this)); });
      return TRUE;
    case kDrivesFound: {
      const DriveFindings findings = TakeFindings(lParam);
      RunHandler(window_, [this, &findings] { DrivesFound(findings); });
      return 0;
    }
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == kSaveButton) {
        if (runState_.Decide(WindowEvent::kWriteClick) == Verdict::kHandle)
          RunHandler(window_, [this] { SaveButtonClick(); });
      } else if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == kInfoButton) {
        if (runState_.Decide(WindowEvent::kControlInput) == Verdict::kHandle)
          RunHandler(window_, [this] { InfoButtonClick(); });
      }
      return 0;
    case kWorkProgress:
      progress_.Show(worker_.BytesDone());
      return 0;
    case kWorkFinished:
      RunHandler(window_, [this, lParam] { FinishWork(lParam); });
      return 0;
    case WM_INITMENUPOPUP:
      if (HIWORD(lParam))
        OfferStickCheck(reinterpret_cast<HMENU>(wParam),
                        CheckCommandOffered(EntryCount() > 0, runState_.Phase()));
      break;
    case WM_SETCURSOR:
      // The wait cursor over the window while the files are written.
      if (LOWORD(lParam) == HTCLIENT && runState_.ShowsWaitCursor()) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_CLOSE:
      if (runState_.Decide(WindowEvent::kCloseRequest) == Verdict::kHold) return 0;
      break;
    case WM_QUERYENDSESSION:
      if (runState_.Decide(WindowEvent::kShutdownQuery) == Verdict::kRefuse) return FALSE;
      break;
    case WM_PRINTCLIENT:
      PrintLabels(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_CTLCOLORSTATIC:
      return OnColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SYSCOLORCHANGE:
      RepaintInNewColors();
      break;
    case WM_SETTINGCHANGE:
      if (wParam == SPI_SETHIGHCONTRAST) RepaintInNewColors();
      break;
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam), HIWORD(wParam) != 0);
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_MINIMIZE || (wParam & 0xFFF0) == kCheckStickCommand ||
          (wParam & 0xFFF0) == kOpenJournalCommand) {
        OnSystemCommand(wParam & 0xFFF0);
        return 0;
      }
      break;
    case WM_DPICHANGED:
      // The new DPI is the message's: asking the system again could give the old one.
      OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_DESTROY:
      KillTimer(window_, kTimer1);
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

// Made without a place or a font: ApplyDpi gives every control both.
HWND TForm1::CreateControl(const wchar_t* windowClass, const std::string& text, DWORD style,
                           int id) {
  return CreateWindowExW(0, windowClass, Widen(text).c_str(), WS_CHILD | WS_CLIPSIBLINGS | style, 0,
                         0, 0, 0, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         nullptr, nullptr);
}

void TForm1::CreateControls() {
  // Creation order is the tab order: the drive list, the write button, the change-log button.
  Label1 = CreateControl(L"STATIC", "", WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX, kLabel1);
  DeviceBox.Create(window_, kDeviceBox, layout_.deviceBox);
  DeviceBox.NameAfter(Label1);
  lastFocus_ = DeviceBox.Handle();
  SaveButton = CreateControl(HotButtonClassName(), kSaveCaption,
                             WS_VISIBLE | WS_TABSTOP | WS_DISABLED, kSaveButton);
  InfoButton = CreateControl(ImageButtonClass(), "", WS_VISIBLE | WS_TABSTOP, kInfoButton);
  SetImageButtonHint(InfoButton, kInfoHint);
  FullVer = CreateControl(L"STATIC", kFullVerDesignCaption, WS_VISIBLE | SS_RIGHT | SS_NOPREFIX,
                          kFullVer);
  // The version label spans the window's foot, under the buttons' lower edges: it stays
  // behind them so it never paints over them.
  SetWindowPos(FullVer, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // The prompt sizes itself to its text, and a wide font carries it past the drive list's left
  // edge. Kept behind every other control, it can never cover the list, and the connect prompt
  // still shows whole while the list is hidden; clipping its width would cut that one short.
  SetWindowPos(Label1, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  CreateHint();
  AddToolItems(GetSystemMenu(window_, FALSE));
  ApplyDpi(WindowDpi(window_));
  SetPrompt(kPromptSelect, clWindowText);
  drives_.emplace(std::make_shared<WinDriveSource>(), PostFindingsTo(window_), StartUnwaitedThread);
  SetTimer(window_, kTimer1, kTimer1Interval, nullptr);
}

void TForm1::CreateHint() {
  hint_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                          WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, nullptr, nullptr);
  hintText_ = Widen(kInfoHint);
  TOOLINFOW tool{};
  // The older structure size is the one every version of the common controls accepts.
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = window_;
  tool.uId = reinterpret_cast<UINT_PTR>(InfoButton);
  tool.lpszText = hintText_.data();
  SendMessageW(hint_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

// The window draws nothing of its own beyond its background, but its labels are part of what it
// shows: a control that lets the window show through asks for them too. Each label is printed
// at its own origin and copied into place, since a label clips itself as if the context were
// not shifted.
void TForm1::PrintLabels(HDC dc) {
  for (HWND label : {Label1, FullVer}) {
    if (!IsWindowVisible(label)) continue;
    RECT bounds;
    GetWindowRect(label, &bounds);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&bounds), 2);
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    MemoryDC image(dc);
    ScopedGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(dc, width, height));
    ScopedSelect selected(image, bitmap.get());
    SendMessageW(label, WM_PRINT, reinterpret_cast<WPARAM>(static_cast<HDC>(image)), PRF_CLIENT);
    BitBlt(dc, bounds.left, bounds.top, width, height, image, 0, 0, SRCCOPY);
  }
}

// Both labels stand on the button face: their texts take the colour the scheme makes for it, and
// the prompt's fixed black or red gives way to the scheme's text colour where it would not show.
LRESULT TForm1::OnColorStatic(HDC dc, HWND control) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorRef(ShownColor(control == Label1 ? label1Color_ : clWindowText, clBtnFace,
                                       SystemColorScheme(), IsHighContrast())));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

// The system tells only top-level windows of new colours or a new high-contrast mode; every
// control draws again with the colours chosen now.
void TForm1::RepaintInNewColors() {
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

// Keeps the focus where the operator left it: saved when the window loses the activation, given
// back when it regains it. A control that was disabled or hidden meanwhile leaves the focus on the
// window itself.
void TForm1::OnActivate(WORD state, bool minimized) {
  if (state == WA_INACTIVE) {
    const HWND focus = GetFocus();
    lastFocus_ = IsChild(window_, focus) ? focus : nullptr;
  } else if (!minimized) {
    const bool usable = lastFocus_ && IsWindowEnabled(lastFocus_) && IsWindowVisible(lastFocus_);
    SetFocus(usable ? lastFocus_ : window_);
  }
}

// Keyboard and mouse input aimed at the window or its controls is judged by the run. While
// files are written it is dropped, except the system's keys (Alt+F4, Alt+Space, F10): those go
// to the window itself, so that they still reach the system menu and the close but no control
// acts on them (Alt+Down would open the drive list).
void TForm1::Route(MSG& message) {
  if (IsInputToWindow(message) && runState_.Decide(WindowEvent::kControlInput) == Verdict::kDrop) {
    if (!IsSystemKey(message.message)) return;
    message.hwnd = window_;
  }
  // Tab and the arrow keys move between the controls.
  if (window_ && IsDialogMessageW(window_, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

bool TForm1::IsInputToWindow(const MSG& message) const {
  const bool input = (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) ||
                     (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST);
  return input && window_ && (message.hwnd == window_ || IsChild(window_, message.hwnd));
}

// The commands of the system menu, its own and the tool's. A posted command ignores a greyed
// item, so the check is judged here again.
void TForm1::OnSystemCommand(WPARAM command) {
  switch (command) {
    case SC_MINIMIZE:
      // Minimised, the tool goes to its taskbar button, which the application window holds.
      ShowWindow(GetWindow(window_, GW_OWNER), SW_MINIMIZE);
      break;
    case kCheckStickCommand:
      if (runState_.Decide(WindowEvent::kCheckCommand) == Verdict::kHandle && EntryCount() > 0)
        RunHandler(window_, [] { CheckSelectedStick(); });
      break;
    case kOpenJournalCommand:
      RunHandler(window_, [this] { OpenJournal(window_); });
      break;
  }
}

std::string TForm1::SelectedDriveRoot() const { return DeviceBox.Text(); }

int TForm1::EntryCount() const { return DeviceBox.Count(); }

std::string TForm1::Entry(int index) const { return DeviceBox.Item(index); }

void TForm1::AppendEntry(const std::string& root) { DeviceBox.Add(root); }

int TForm1::SelectedIndex() const { return DeviceBox.ItemIndex(); }

void TForm1::Select(int index) { DeviceBox.SetItemIndex(index); }

void TForm1::SetListVisible(bool visible) { DeviceBox.SetVisible(visible); }

void TForm1::SetWriteEnabled(bool enabled) { SetHotButtonEnabled(SaveButton, enabled); }

void TForm1::SetPrompt(const std::string& caption, TColor fontColor) {
  // Every tick sets the prompt; only a new text costs a repaint and a new size.
  const std::wstring text = Widen(caption);
  if (WindowText(Label1) != text) {
    SetWindowTextW(Label1, text.c_str());
    SizePromptToText();
  }
  if (label1Color_ != fontColor) {
    label1Color_ = fontColor;
    InvalidateRect(Label1, nullptr, TRUE);
  }
}

void TForm1::FormCreate() {
  SendMessageW(hint_, TTM_SETDELAYTIME, TTDT_INITIAL, kHintPause);
  SendMessageW(hint_, TTM_SETDELAYTIME, TTDT_AUTOPOP, kHintHidePause);
  SetWindowTextW(window_,
                 Widen(MarkedCaption(Narrow(WindowText(window_)), ExeFixedFileFlags())).c_str());
  const std::string suffix = CaptionVersionSuffix(ExeFixedVersionWord());
  SetWindowTextW(window_, (WindowText(window_) + Widen(suffix)).c_str());
  SetWindowTextW(FullVer, Widen(FullVerCaption(GetExeFileVersionString())).c_str());
}

// The drives are asked on threads of their own; what they answer comes back to DrivesFound, which
// shows the list's state again. An empty list waits for that: hidden now, with the connect prompt,
// it would be shown a moment later with a stick the look found. A run or a check keeps the write
// button as it set it.
void TForm1::Timer1Timer() {
  drives_->Look(ListedRoots(*this));
  if (EntryCount() > 0 && runState_.Decide(WindowEvent::kDrivePoll) == Verdict::kHandle)
    ShowListState(*this);
}

// A drive found while a run or a check goes on is listed all the same.
void TForm1::DrivesFound(const DriveFindings& findings) {
  ListFoundDrives(findings.roots, *this);
  if (runState_.Decide(WindowEvent::kDrivePoll) == Verdict::kHandle) ShowListState(*this);
  if (findings.failure) throw Failure(*findings.failure);
}

void TForm1::SaveButtonClick() { WriteFirmwareSet(); }

void TForm1::InfoButtonClick() { ShowChangeLog(); }
