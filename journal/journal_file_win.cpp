#include "journal/journal_file_win.h"

#include <shellapi.h>

#include "base/failure.h"
#include "base/file_places_win.h"
#include "base/file_write_win.h"
#include "base/notice_win.h"
#include "base/text_win.h"
#include "journal/journal.h"
#include "journal/journal_block.h"
#include "journal/journal_facts_win.h"

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

}  // namespace

void OpenJournal(HWND owner) {
  if (ToolJournal().Empty()) {
    ShowNotice(owner, JournalEmptyNotice());
    return;
  }
  const std::string path = ToolTemporaryDirectory() + JournalFileName(LocalTimeNow());
  const std::string text = kByteOrderMark + ToolJournal().Text();
  try {
    WriteWholeFile(path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
  } catch (const Failure& failure) {
    ShowNotice(owner, JournalNotSavedNotice(path, SystemErrorText(failure.SystemError())));
    return;
  }
  const auto opened = reinterpret_cast<INT_PTR>(
      ShellExecuteW(owner, L"open", Widen(path).c_str(), nullptr, nullptr, SW_SHOW));
  if (opened <= 32) ShowNotice(owner, JournalSavedNotice(path));
}
