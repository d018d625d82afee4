#include "app/application_window_win.h"

#include <tuple>

#include "base/failure.h"
#include "base/text_win.h"
#include "base/texts.h"

namespace {

constexpr wchar_t kWindowClass[] = L"TApplication";
// Posted to itself on activation, so the hand-over happens once the activation is through.
constexpr UINT kActivateMainWindow = WM_APP;

}  // namespace

void SetMainIcon(HWND window) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  for (const auto& [kind, width, height] : {std::tuple{ICON_BIG, SM_CXICON, SM_CYICON},
                                            std::tuple{ICON_SMALL, SM_CXSMICON, SM_CYSMICON}}) {
    const HANDLE icon = LoadImageW(instance, L"MAINICON", IMAGE_ICON, GetSystemMetrics(width),
                                   GetSystemMetrics(height), LR_SHARED);
    SendMessageW(window, WM_SETICON, kind, reinterpret_cast<LPARAM>(icon));
  }
}

ApplicationWindow::~ApplicationWindow() {
  if (window_) DestroyWindow(window_);
}

void ApplicationWindow::Create(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = ObjectWindowProc<ApplicationWindow>;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kWindowClass;
  if (!RegisterClassExW(&windowClass))
    throw ErrorCreating("window class", SystemErrorText(GetLastError()));
  taskbarButtonCreated_ = RegisterWindowMessageW(L"TaskbarButtonCreated");
  // A popup with a caption and no size: it gets a taskbar button but shows nothing on the screen.
  CreateWindowExW(0, kWindowClass, Widen(kApplicationTitle).c_str(),
                  WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                  GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                  nullptr, nullptr, instance, this);
  if (!window_) throw ErrorCreating("window", SystemErrorText(GetLastError()));
  AdmitTaskbarButtonCreated();
  SetMainIcon(window_);
}

// Run as administrator, the tool sits above the integrity level of the taskbar, and the system
// drops the taskbar's word that the button is made unless the window admits that message. Where
// it cannot be admitted, the button simply shows no progress.
void ApplicationWindow::AdmitTaskbarButtonCreated() {
  if (taskbarButtonCreated_)
    ChangeWindowMessageFilterEx(window_, taskbarButtonCreated_, MSGFLT_ALLOW, nullptr);
}

void ApplicationWindow::Show(HWND mainWindow) {
  mainWindow_ = mainWindow;
  SetWindowPos(window_, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

LRESULT ApplicationWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // The taskbar says so when it has made the button, and again whenever it starts anew.
  if (message == taskbarButtonCreated_ && taskbarButtonCreated_ != 0) {
    taskbar_.Attach(window_);
    return 0;
  }
  switch (message) {
    case WM_CLOSE:
      // Closing the taskbar button, or a request to end the program, closes the main window.
      if (IsWindow(mainWindow_)) PostMessageW(mainWindow_, WM_CLOSE, 0, 0);
      return 0;
    case WM_SIZE:
      // The main window goes with the taskbar button: away when it is minimised, back when it is
      // restored (the system does so for owned windows, not every one of its imitations does).
      if (IsWindow(mainWindow_) && (wParam == SIZE_MINIMIZED || wParam == SIZE_RESTORED))
        ShowWindow(mainWindow_, wParam == SIZE_MINIMIZED ? SW_HIDE : SW_SHOW);
      return 0;
    case WM_ACTIVATE:
      // Activated from the taskbar: the main window, or the box it shows, takes over.
      if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam))
        PostMessageW(window_, kActivateMainWindow, 0, 0);
      return 0;
    case kActivateMainWindow:
      if (IsWindow(mainWindow_) && GetActiveWindow() == window_ && !IsIconic(window_))
        SetActiveWindow(GetLastActivePopup(mainWindow_));
      return 0;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}
