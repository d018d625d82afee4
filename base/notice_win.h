#pragma once

#include <windows.h>

#include "base/error_report.h"
#include "base/notice.h"

// Shows the box modally over owner and returns when the operator has closed it.
void ShowNotice(HWND owner, const Notice& notice);

void ShowDefaultErrorReport(HWND owner, const char* failureMessage);
