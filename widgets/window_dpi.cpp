#include "widgets/window_dpi.h"

// The window's own DPI wherever the system can tell it, and then the monitor is not asked: it is
// the DPI the system scales the window by, also for a thread whose awareness is not the
// process's, for which the monitor's answer would be wrong. Before it (Windows 8.1, 10 1507 and
// 1511) the per-monitor aware window has its monitor's DPI; the session's DPI is what a window
// has on Windows 7 and 8, and the last resort for a window the system does not know.
int WindowDpiFrom(const DpiQuestions& ask) {
  if (ask.window) {
    const int dpi = ask.window();
    return dpi ? dpi : ask.system;
  }
  if (ask.monitor)
    if (const int dpi = ask.monitor()) return dpi;
  return ask.system;
}
