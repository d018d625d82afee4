#include "base/notice_win.h"

#include "base/error_report.h"
#include "base/text_win.h"

void ShowNotice(HWND owner, const Notice& notice) {
  MessageBoxW(owner, Widen(notice.text).c_str(), Widen(notice.caption).c_str(),
              MB_OK | static_cast<UINT>(notice.icon));
}

void ShowDefaultErrorReport(HWND owner, const char* failureMessage) {
  ShowNotice(owner, DefaultErrorReport(failureMessage));
}
