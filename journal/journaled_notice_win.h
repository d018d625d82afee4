#pragma once

#include <windows.h>

#include <exception>

#include "base/error_report.h"
#include "base/notice.h"

// Shows a box outside a run or a check, and notes it in the journal first.
void ShowJournaledNotice(HWND owner, const Notice& notice);

// Runs one event handler; a failure that escapes it is noted in the journal and reported in its
// box, and the tool carries on. Nothing thrown ever reaches the system's window code.
template <typename Handler>
void RunHandler(HWND owner, Handler&& handler) {
  try {
    handler();
  } catch (const std::exception& failure) {
    ShowJournaledNotice(owner, FailureReport(failure));
  }
}
