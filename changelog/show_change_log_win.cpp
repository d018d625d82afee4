#include "changelog/show_change_log_win.h"

#include <windows.h>

#include <shellapi.h>

#include <optional>

#include "base/failure.h"
#include "base/file_places_win.h"
#include "base/file_write_win.h"
#include "base/text_win.h"
#include "base/tool_window_win.h"
#include "changelog/change_log.h"
#include "firmware/embedded_integrity_win.h"
#include "firmware/payloads_win.h"
#include "journal/journaled_notice_win.h"

namespace {

// In one fixed folder of the user's, wherever the tool sits, and nowhere else: beside it, a stick
// (many report themselves as fixed disks) would gain the file and stay in use while a viewer
// holds it open, and on a share every technician would write the same file. The folder is reused,
// so a viewer still holding the last copy shows as before.
std::optional<std::string> ChangeLogFolder() {
  const std::string folder = ToolTemporaryDirectory();
  const DWORD attributes = GetFileAttributesW(Widen(folder).c_str());
  const bool made =
      attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  if (!made) return std::nullopt;
  return folder;
}

// Without SEE_MASK_FLAG_NO_UI the shell shows an error of its own, and the tool could not tell
// whether it did.
bool OpenInViewer(const std::string& path) {
  const std::wstring file = Widen(path);
  SHELLEXECUTEINFOW request{};
  request.cbSize = sizeof(request);
  request.fMask = SEE_MASK_FLAG_NO_UI;
  request.hwnd = Form1->Handle();
  request.lpVerb = L"open";
  request.lpFile = file.c_str();
  request.nShow = SW_SHOW;
  return ShellExecuteExW(&request);
}

// A document that cannot be written, mostly one a viewer still holds open, is not opened.
bool WriteAndOpen(std::span<const std::uint8_t> document) {
  const std::optional<std::string> folder = ChangeLogFolder();
  if (!folder) return false;
  const std::string path = *folder + kChangeLogFileName;
  try {
    WriteWholeFile(path, document);
  } catch (const Failure&) {
    return false;
  }
  return OpenInViewer(path);
}

}  // namespace

void ShowChangeLog() {
  // A document that is not as built is neither written nor opened.
  AwaitIntactChangeLog(StartupIntegrityCheck());
  // A missing document is a fault of the build, not of the operator's PC: it goes to the
  // default error report rather than to the box below.
  const auto document = ResourcePayloads().Open(kChangeLogPayload);
  if (!WriteAndOpen(document)) ShowJournaledNotice(Form1->Handle(), ChangeLogUnavailable());
}
