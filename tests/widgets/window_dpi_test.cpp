#include "widgets/window_dpi.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

// Which of the system's functions exist and what they answer (0: nothing), the DPI taken, and
// whether the monitor was asked.
TEST(WindowDpiFrom, TheWindowsOwnWhereKnownThenTheMonitorsThenTheSessions) {
  const struct Row {
    const char* system;
    std::optional<int> window, monitor;
    int chosen;
    bool monitorAsked;
  } rows[] = {
      // clang-format off
      {"10 1703 on, per-monitor v2: the window's own", 144, 120,          144, false},
      {"GetDpiForWindow alone",                        120, std::nullopt, 120, false},
      {"a window the system does not know",            0,   120,          96,  false},
      {"8.1, 10 1507 and 1511: GetDpiForMonitor only", std::nullopt, 144, 144, true},
      {"GetDpiForMonitor without an answer",           std::nullopt, 0,   96,  true},
      {"7 and 8: neither",                             std::nullopt, std::nullopt, 96, false},
      // clang-format on
  };
  for (const Row& row : rows) {
    bool monitorAsked = false;
    DpiQuestions ask;
    if (row.window) ask.window = [&row] { return *row.window; };
    if (row.monitor)
      ask.monitor = [&] {
        monitorAsked = true;
        return *row.monitor;
      };
    EXPECT_EQ(WindowDpiFrom(ask), row.chosen) << row.system;
    EXPECT_EQ(monitorAsked, row.monitorAsked) << row.system;
  }
}

}  // namespace
