#pragma once

#include <windows.h>

#include "app/error_report.h"
#include "app/notice.h"

// Shows the box modally over owner and returns when the operator has closed it.
void ShowNotice(HWND owner, const Notice& notice);

void ShowDefaultErrorReport(HWND owner, const char* failureMessage);
