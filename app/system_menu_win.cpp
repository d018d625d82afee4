#include "app/system_menu_win.h"

#include "app/control_ids.h"
#include "base/text_win.h"
#include "base/texts.h"

void AddToolItems(HMENU systemMenu) {
  AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(systemMenu, MF_STRING, kCheckStickCommand, Widen(kCheckStickItem).c_str());
  AppendMenuW(systemMenu, MF_STRING, kOpenJournalCommand, Widen(kOpenJournalItem).c_str());
}

void OfferStickCheck(HMENU systemMenu, bool offered) {
  EnableMenuItem(systemMenu, kCheckStickCommand, MF_BYCOMMAND | (offered ? MF_ENABLED : MF_GRAYED));
}
