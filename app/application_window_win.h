#pragma once

#include <windows.h>

#include "app/taskbar_progress_win.h"
#include "base/window_object_win.h"

// The application's own window. It has no size, carries the application title and icon on the
// taskbar and owns the main window, whose caption is then free to carry the version.
class ApplicationWindow {
 public:
  ApplicationWindow() = default;
  ApplicationWindow(const ApplicationWindow&) = delete;
  ApplicationWindow& operator=(const ApplicationWindow&) = delete;
  ~ApplicationWindow();

  // Registers the class and creates the window, not yet shown; raises ErrorCreating.
  void Create(HINSTANCE instance);
  // Shows the taskbar button for mainWindow, which the window now speaks for.
  void Show(HWND mainWindow);
  HWND Handle() const { return window_; }
  // The progress bar of the taskbar button.
  TaskbarProgress& Taskbar() { return taskbar_; }

 private:
  template <typename Object>
  friend LRESULT CALLBACK ObjectWindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void AdmitTaskbarButtonCreated();

  HWND window_ = nullptr;
  HWND mainWindow_ = nullptr;
  UINT taskbarButtonCreated_ = 0;
  TaskbarButtonProgress taskbar_;
};

// Gives a window of the tool the application icon, large and small, set on the window itself,
// where the taskbar asks for it first.
void SetMainIcon(HWND window);
