#include "widgets/dpi_win.h"

#include <gtest/gtest.h>

#include "base/scoped_gdi_win.h"

namespace {

// The tests' prefix runs at the system's DPI; the functions for a DPI of one's choosing must
// be found and used, or every DPI would give the system's figures.
TEST(Dpi, MetricsAndFramesFollowTheDpiAsked) {
  WindowDC screen(nullptr);
  const int system = GetDeviceCaps(screen, LOGPIXELSY);
  const int plain = GetSystemMetrics(SM_CXVSCROLL);
  EXPECT_EQ(SystemMetricForDpi(SM_CXVSCROLL, system), plain);
  EXPECT_NEAR(SystemMetricForDpi(SM_CXVSCROLL, 2 * system), 2 * plain, 1);

  const DWORD style = WS_OVERLAPPEDWINDOW;
  RECT expected{0, 0, 300, 200};
  ASSERT_TRUE(AdjustWindowRectEx(&expected, style, FALSE, 0));
  RECT atSystem{0, 0, 300, 200};
  ASSERT_TRUE(AdjustWindowRectForDpi(atSystem, style, 0, system));
  EXPECT_EQ(atSystem.left, expected.left);
  EXPECT_EQ(atSystem.top, expected.top);
  EXPECT_EQ(atSystem.right, expected.right);
  EXPECT_EQ(atSystem.bottom, expected.bottom);
  RECT atDouble{0, 0, 300, 200};
  ASSERT_TRUE(AdjustWindowRectForDpi(atDouble, style, 0, 2 * system));
  EXPECT_LT(atDouble.top, expected.top);  // a taller caption
}

TEST(Dpi, NoWindowMeansTheSystemsDpi) {
  WindowDC screen(nullptr);
  EXPECT_EQ(WindowDpi(nullptr), GetDeviceCaps(screen, LOGPIXELSY));
}

// Wine has GetDpiForMonitor, as Windows has from 8.1 on: shcore, which the tool does not import,
// is found and answers for the one monitor, at the system's DPI.
TEST(Dpi, TheMonitorIsAskedThroughShcore) {
  WindowDC screen(nullptr);
  EXPECT_EQ(MonitorDpi(nullptr), GetDeviceCaps(screen, LOGPIXELSY));
}

}  // namespace
