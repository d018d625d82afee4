#include "changelog/show_change_log_win.h"

#include <windows.h>

#include <shellapi.h>

#include "app/executable_dir_win.h"
#include "app/file_write_win.h"
#include "app/main_form_win.h"
#include "app/notice_win.h"
#include "app/text_win.h"
#include "changelog/change_log.h"
#include "firmware/embedded_integrity_win.h"
#include "firmware/payloads_win.h"

void ShowChangeLog() {
  // A document that is not as built is neither written nor opened.
  AwaitIntactChangeLog(StartupIntegrityCheck());
  // A missing document is a fault of the build, not of the operator's PC: it goes to the
  // default error report rather than to the box below.
  const auto document = ResourcePayloads().Open(kChangeLogPayload);
  try {
    const std::string path = ExecutableDirectory() + kChangeLogFileName;
    WriteWholeFile(path, document);
    // What the shell makes of the request is the viewer's business.
    ShellExecuteW(Form1->Handle(), L"open", Widen(path).c_str(), nullptr, nullptr, SW_SHOW);
  } catch (const std::exception&) {
    ShowNotice(Form1->Handle(), ChangeLogUnavailable());
  }
}
