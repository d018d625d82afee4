#include "app/main_form_win.h"

#include <commctrl.h>

#include "app/application_window_win.h"
#include "app/failure.h"
#include "app/journal_win.h"
#include "app/notice_win.h"
#include "app/system_menu_win.h"
#include "app/text_win.h"
#include "app/texts.h"
#include "app/version_display.h"
#include "app/version_info_win.h"
#include "changelog/show_change_log_win.h"
#include "firmware/write_firmware_set_win.h"
#include "widgets/contrast.h"
#include "widgets/display_scale.h"
#include "widgets/dpi_win.h"
#include "widgets/hot_button_win.h"
#include "widgets/image_button_win.h"
#include "widgets/system_color_scheme_win.h"
#include "widgets/window_frame.h"

TForm1* Form1 = nullptr;

namespace {

constexpr wchar_t kWindowClass[] = L"TForm1";
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 1000;
constexpr int kHintPause = 100;
constexpr int kHintHidePause = 2500;
// The hint's width limit at 96 DPI, which lets it break into its two lines.
constexpr int kHintMaxWidth = 400;
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

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
    throw WindowNotCreated("window class", SystemErrorText(GetLastError()));

  // Made where the screen's top-left corner is, on the monitor it is then centred on: only there
  // does the window learn the DPI it is laid out for.
  CreateWindowExW(0, kWindowClass, Widen(kApplicationTitle).c_str(), kFormStyle, 0, 0, 0, 0, owner,
                  nullptr, instance, this);
  if (!window_) throw WindowNotCreated("window", SystemErrorText(GetLastError()));
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
      if (wParam == kTimer1 && runState_.Decide(WindowEvent::kDrivePoll) == Verdict::kHandle)
        RunHandler(window_, [this] { Timer1Timer(); });
      return 0;
    case WM_DEVICECHANGE:
      // A drive just plugged in is listed now rather than at the next tick; a removal
      // changes nothing, as the list only grows.
      if (IsVolumeArrival(wParam, lParam) &&
          runState_.Decide(WindowEvent::kDrivePoll) == Verdict::kHandle)
        RunHandler(window_, [this] { Timer1Timer(); });
      return TRUE;
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
    case kFirmwareRunFinished:
      RunHandler(window_, [this, lParam] { FinishWriting(lParam); });
      return 0;
    case kStickCheckFinished:
      RunHandler(window_, [this, lParam] { FinishChecking(lParam); });
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
  SetTimer(window_, kTimer1, kTimer1Interval, nullptr);
}

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

void TForm1::StartWriting(FirmwareJob job, std::uint64_t setBytes) {
  worker_.Start<FirmwareRunOutcome>(
      window_, kFirmwareRunFinished,
      [job = std::move(job)](const std::stop_token&, TransferProgress& progress) {
        return WriteFirmwareJob(job, progress);
      });
  runState_.StartWriting();
  // Until the run is over the system asks before it ends the session, and shows why.
  ShutdownBlockReasonCreate(window_, Widen(kShutdownBlockReason).c_str());
  progress_.Start(2 * setBytes);
  RefreshCursor();
}

// A check writes nothing: the session may end under it.
void TForm1::StartChecking(StickCheckJob job, std::uint64_t setBytes) {
  worker_.Start<Notice>(
      window_, kStickCheckFinished,
      [job = std::move(job)](const std::stop_token& stop, TransferProgress& progress) {
        return CheckStickJob(job, stop, progress);
      });
  runState_.StartChecking();
  progress_.Start(setBytes);
  RefreshCursor();
}

// Posted messages leave the queue ahead of input, so input given while the files were written
// can still wait behind the run's end. It goes now, judged as during the writing, before the
// first box could take it: a key meant for the window must not close a box unseen.
void TForm1::DropInputQueuedDuringTheRun() {
  MSG message;
  while (PeekMessageW(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE) ||
         PeekMessageW(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    Route(message);
  }
}

void TForm1::FinishWriting(LPARAM outcome) {
  DropInputQueuedDuringTheRun();
  const FirmwareRunOutcome finished = Worker::Finish<FirmwareRunOutcome>(outcome);
  ShutdownBlockReasonDestroy(window_);
  Report(finished.Succeeded(), [&finished] { ReportFirmwareSet(finished); });
}

// Only an all-clear leaves no error on the taskbar button.
void TForm1::FinishChecking(LPARAM outcome) {
  DropInputQueuedDuringTheRun();
  const Notice box = Worker::Finish<Notice>(outcome);
  Report(box.icon == NoticeIcon::kInformation, [&box] { ReportStickCheck(box); });
}

void TForm1::Report(bool succeeded, const std::function<void()>& showBoxes) {
  runState_.StartReporting();
  RefreshCursor();
  progress_.Finish(succeeded);
  showBoxes();
  // Closed while a box was up: the program ends.
  if (!window_) return;
  progress_.Dismissed();
  if (runState_.FinishReporting()) SendMessageW(window_, WM_CLOSE, 0, 0);
}

// The system asks for the pointer's shape only when the pointer moves; a new phase of the run
// shows under a pointer at rest too.
void TForm1::RefreshCursor() {
  POINT at;
  if (!GetCursorPos(&at)) return;
  const HWND under = WindowFromPoint(at);
  if (under != window_ && !IsChild(window_, under)) return;
  const LRESULT hit = SendMessageW(window_, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
  SendMessageW(window_, WM_SETCURSOR, reinterpret_cast<WPARAM>(window_),
               MAKELPARAM(hit, WM_MOUSEMOVE));
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

void TForm1::FormCreate() {
  SendMessageW(hint_, TTM_SETDELAYTIME, TTDT_INITIAL, kHintPause);
  SendMessageW(hint_, TTM_SETDELAYTIME, TTDT_AUTOPOP, kHintHidePause);
  SetWindowTextW(window_,
                 Widen(MarkedCaption(Narrow(WindowText(window_)), ExeFixedFileFlags())).c_str());
  const std::string suffix = CaptionVersionSuffix(ExeFixedVersionWord());
  SetWindowTextW(window_, (WindowText(window_) + Widen(suffix)).c_str());
  SetWindowTextW(FullVer, Widen(FullVerCaption(GetExeFileVersionString())).c_str());
}

void TForm1::Timer1Timer() { PollDrives(drives_, *this); }

void TForm1::SaveButtonClick() { WriteFirmwareSet(); }

void TForm1::InfoButtonClick() { ShowChangeLog(); }
