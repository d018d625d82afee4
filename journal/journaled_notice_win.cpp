#include "journal/journaled_notice_win.h"

#include "base/notice_win.h"
#include "journal/journal_block.h"
#include "journal/journal_facts_win.h"

void ShowJournaledNotice(HWND owner, const Notice& notice) {
  AddToJournal(BoxBlock(GatherHeading(), notice));
  ShowNotice(owner, notice);
}
