#include "app/journal_win.h"

#include <shellapi.h>

#include "app/failure.h"
#include "app/file_places_win.h"
#include "app/file_write_win.h"
#include "app/journal.h"
#include "app/journal_block.h"
#include "app/journal_facts_win.h"
#include "app/notice_win.h"
#include "app/text_win.h"

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

void ShowJournaledNotice(HWND owner, const Notice& notice) {
  ToolJournal().Append(BoxBlock(GatherHeading(), notice));
  ShowNotice(owner, notice);
}
