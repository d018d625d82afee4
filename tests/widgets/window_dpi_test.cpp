#include "widgets/window_dpi.h"

#include <gtest/gtest.h>

namespace {

// By which of the system's functions exist (-1: missing) and what they answer (0: nothing).
TEST(WindowDpiFrom, TheWindowsOwnWhereKnownThenTheMonitorsThenTheSessions) {
  struct Row {
    int window, monitor, chosen;
    bool monitorAsked;
  } const rows[] = {
      {144, 120, 144, false},  // per-monitor v2: the window's own; the monitor is not asked
      {120, -1, 120, false},   // GetDpiForWindow
      {0, 120, 96, false},     // a window the system does not know
      {-1, 144, 144, true},    // GetDpiForMonitor only: Windows 8.1, 10 1507 and 1511
      {-1, 0, 96, true},       // GetDpiForMonitor without an answer
      {-1, -1, 96, false},     // neither: Windows 7 and 8
  };
  for (const Row& row : rows) {
    bool monitorAsked = false;
    DpiQuestions ask;
    if (row.window >= 0) ask.window = [&row] { return row.window; };
    if (row.monitor >= 0)
      ask.monitor = [&] {
        monitorAsked = true;
        return row.monitor;
      };
    EXPECT_EQ(WindowDpiFrom(ask), row.chosen) << "row " << &row - rows;
    EXPECT_EQ(monitorAsked, row.monitorAsked) << "row " << &row - rows;
  }
}

}  // namespace
