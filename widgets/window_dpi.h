#pragma once

#include <functional>

// What the system can be asked about a window's DPI. A question is empty where the system lacks
// the function that answers it; an answer of 0 tells nothing.
struct DpiQuestions {
  // GetDpiForWindow, from Windows 10 1607 on: the window's own DPI.
  std::function<int()> window;
  // GetDpiForMonitor, from Windows 8.1 on: the effective DPI of the monitor nearest the window.
  std::function<int()> monitor;
  // The DPI the session started with, which every Windows tells.
  int system = 96;
};

// The DPI a window is laid out for when it is made.
int WindowDpiFrom(const DpiQuestions& ask);
