#include "app/main_form_win.h"

#include <commctrl.h>

#include "app/failure.h"
#include "app/notice_win.h"
#include "app/text_win.h"
#include "app/texts.h"
#include "app/version_display.h"
#include "app/version_info_win.h"
#include "changelog/show_change_log_win.h"
#include "firmware/write_firmware_set_win.h"
#include "widgets/color_win.h"
#include "widgets/image_button_win.h"

TForm1* Form1 = nullptr;

namespace {

constexpr wchar_t kWindowClass[] = L"TForm1";
constexpr int kClientWidth = 354;
constexpr int kClientHeight = 81;
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 1000;
constexpr int kFullVerHeight = 10;
constexpr int kHintPause = 100;
constexpr int kHintHidePause = 2500;
constexpr char kHint[] = "Изменения в ПО\r(Adobe Reader)";
constexpr char kSaveCaption[] = "Записать прошивку на USB-Flash";
constexpr char kFullVerDesignCaption[] = "V1.11.0.2   ";
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// The window's texts are Russian: asking for the Cyrillic character set makes the system pick a
// face that has the letters even where its own code page is not Cyrillic.
HFONT CreateUiFont(int height, const wchar_t* face) {
  return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, RUSSIAN_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, face);
}

std::wstring WindowText(HWND window) {
  std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
  text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
  return text;
}

}  // namespace

void TForm1::Create(HINSTANCE instance, int showCommand) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, L"MAINICON");
  windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, L"MAINICON", IMAGE_ICON,
                                                      GetSystemMetrics(SM_CXSMICON),
                                                      GetSystemMetrics(SM_CYSMICON), 0));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kWindowClass;
  RegisterClassExW(&windowClass);

  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, kFormStyle, FALSE, 0);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;

  Form1 = new TForm1;
  CreateWindowExW(0, kWindowClass, Widen(kApplicationTitle).c_str(), kFormStyle, left, top, width,
                  height, nullptr, nullptr, instance, Form1);
  ShowWindow(Form1->window_, showCommand);
  UpdateWindow(Form1->window_);
}

LRESULT CALLBACK TForm1::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<TForm1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    form->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<TForm1*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!form) return DefWindowProcW(window, message, wParam, lParam);
  return form->OnMessage(message, wParam, lParam);
}

LRESULT TForm1::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      CreateControls();
      RunHandler(window_, [this] { FormCreate(); });
      return 0;
    case WM_TIMER:
      if (wParam == kTimer1) RunHandler(window_, [this] { Timer1Timer(); });
      return 0;
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == kSaveButton) {
        RunHandler(window_, [this] { SaveButtonClick(); });
      } else if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == kInfoButton) {
        RunHandler(window_, [this] { InfoButtonClick(); });
      }
      return 0;
    case WM_CTLCOLORSTATIC:
      return OnColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DESTROY:
      KillTimer(window_, kTimer1);
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
      Form1 = nullptr;
      delete this;
      return 0;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

HWND TForm1::CreateControl(const wchar_t* windowClass, const std::string& text, DWORD style, int id,
                           int left, int top, int width, int height) {
  HWND control = CreateWindowExW(
      0, windowClass, Widen(text).c_str(), WS_CHILD | WS_CLIPSIBLINGS | style, left, top, width,
      height, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(formFont_.get()), FALSE);
  return control;
}

void TForm1::CreateControls() {
  formFont_.reset(CreateUiFont(-11, L"MS Sans Serif"));
  fullVerFont_.reset(CreateUiFont(-8, L"Arial"));
  // Creation order is the tab order: the drive list, the write button, the change-log button.
  Label1 =
      CreateControl(L"STATIC", "", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, kLabel1, 8, 13, 106, 13);
  SetPrompt(kPromptSelect, clWindowText);
  DeviceBox =
      CreateControl(L"COMBOBOX", "", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                    kDeviceBox, 128, 8, 217, 21 + 13 * 8);
  SendMessageW(DeviceBox, CB_SETITEMHEIGHT, 0, 13);
  SaveButton =
      CreateControl(L"BUTTON", kSaveCaption, WS_VISIBLE | WS_TABSTOP | WS_DISABLED | BS_PUSHBUTTON,
                    kSaveButton, 8, 40, 297, 33);
  InfoButton =
      CreateControl(ImageButtonClass(), "", WS_VISIBLE | WS_TABSTOP, kInfoButton, 312, 40, 32, 32);
  CreateInfoButtonPictures();
  FullVer =
      CreateControl(L"STATIC", kFullVerDesignCaption, WS_VISIBLE | SS_RIGHT | SS_NOPREFIX, kFullVer,
                    0, kClientHeight - kFullVerHeight, kClientWidth, kFullVerHeight);
  SendMessageW(FullVer, WM_SETFONT, reinterpret_cast<WPARAM>(fullVerFont_.get()), FALSE);
  // The version label spans the window's foot, under the buttons' lower edges: it stays
  // behind them so it never paints over them.
  SetWindowPos(FullVer, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  CreateHint();
  SetTimer(window_, kTimer1, kTimer1Interval, nullptr);
}

void TForm1::CreateHint() {
  hint_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                          WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, nullptr, nullptr);
  hintText_ = Widen(kHint);
  TOOLINFOW tool{};
  // The older structure size is the one every version of the common controls accepts.
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = window_;
  tool.uId = reinterpret_cast<UINT_PTR>(InfoButton);
  tool.lpszText = hintText_.data();
  SendMessageW(hint_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  // A width limit is what lets the hint break into its two lines.
  SendMessageW(hint_, TTM_SETMAXTIPWIDTH, 0, 400);
}

LRESULT TForm1::OnColorStatic(HDC dc, HWND control) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ResolveColor(control == Label1 ? label1Color_ : clWindowText));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

// The badge sits on a pure white ground, which is see-through, as are a few white highlights
// inside it.
void TForm1::CreateInfoButtonPictures() {
  TImageButtonBitmaps* pictures = ImageButtonBitmaps(InfoButton);
  if (!pictures) return;
  const HINSTANCE module = GetModuleHandleW(nullptr);
  pictures->SetImage(ButtonImage::Up, LoadPictureResource(module, L"BTNUP"));
  pictures->SetImage(ButtonImage::Hot, LoadPictureResource(module, L"BTNHOT"));
  pictures->SetImage(ButtonImage::Down, LoadPictureResource(module, L"BTNDOWN"));
  pictures->SetTransparentColor(clWhite);
}

std::string TForm1::SelectedDriveRoot() const {
  const int selected = SelectedIndex();
  return selected < 0 ? std::string() : Entry(selected);
}

int TForm1::EntryCount() const {
  return static_cast<int>(SendMessageW(DeviceBox, CB_GETCOUNT, 0, 0));
}

std::string TForm1::Entry(int index) const {
  const LRESULT length = SendMessageW(DeviceBox, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) return {};
  std::wstring text(length + 1, L'\0');
  SendMessageW(DeviceBox, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(length);
  return Narrow(text);
}

void TForm1::AppendEntry(const std::string& root) {
  const LRESULT added =
      SendMessageW(DeviceBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(root).c_str()));
  if (added == CB_ERR || added == CB_ERRSPACE) throw UnableToInsertLine();
}

int TForm1::SelectedIndex() const {
  return static_cast<int>(SendMessageW(DeviceBox, CB_GETCURSEL, 0, 0));
}

void TForm1::Select(int index) { SendMessageW(DeviceBox, CB_SETCURSEL, index, 0); }

void TForm1::SetListVisible(bool visible) { ShowWindow(DeviceBox, visible ? SW_SHOWNA : SW_HIDE); }

void TForm1::SetWriteEnabled(bool enabled) { EnableWindow(SaveButton, enabled); }

void TForm1::SetPrompt(const std::string& caption, TColor fontColor) {
  // Every tick sets the prompt; only a new text costs a repaint and a new size.
  const std::wstring text = Widen(caption);
  if (WindowText(Label1) != text) {
    SetWindowTextW(Label1, text.c_str());
    // The prompt sizes itself to its text.
    WindowDC dc(Label1);
    ScopedSelect font(dc, formFont_.get());
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SetWindowPos(Label1, nullptr, 0, 0, extent.cx, extent.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (label1Color_ != fontColor) {
    label1Color_ = fontColor;
    InvalidateRect(Label1, nullptr, TRUE);
  }
}

void TForm1::FormCreate() {
  SendMessageW(hint_, TTM_SETDELAYTIME, TTDT_INITIAL, kHintPause);
  SendMessageW(hint_, TTM_SETDELAYTIME, TTDT_AUTOPOP, kHintHidePause);
  const std::string suffix = CaptionVersionSuffix(ExeFixedVersionWord());
  SetWindowTextW(window_, (WindowText(window_) + Widen(suffix)).c_str());
  SetWindowTextW(FullVer, Widen(FullVerCaption(GetExeFileVersionString())).c_str());
}

void TForm1::Timer1Timer() { PollDrives(drives_, *this); }

void TForm1::SaveButtonClick() { WriteFirmwareSet(); }

void TForm1::InfoButtonClick() { ShowChangeLog(); }
