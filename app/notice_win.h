#pragma once

#include <windows.h>

#include <exception>

#include "app/error_report.h"
#include "app/notice.h"

// Shows the box modally over owner and returns when the operator has closed it.
void ShowNotice(HWND owner, const Notice& notice);

void ShowDefaultErrorReport(HWND owner, const char* failureMessage);

// Runs one event handler; a failure that escapes it is reported in its box and the tool carries
// on. Nothing thrown ever reaches the system's window code.
template <typename Handler>
void RunHandler(HWND owner, Handler&& handler) {
  try {
    handler();
  } catch (const std::exception& failure) {
    ShowNotice(owner, FailureReport(failure));
  }
}
