#include "app/system_menu_win.h"

#include "app/control_ids.h"
#include "app/text_win.h"
#include "app/texts.h"

void AddToolItems(HWND window) {
  const HMENU menu = GetSystemMenu(window, FALSE);
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kCheckStickCommand, Widen(kCheckStickItem).c_str());
  AppendMenuW(menu, MF_STRING, kOpenJournalCommand, Widen(kOpenJournalItem).c_str());
}

void OfferStickCheck(HWND window, bool offered) {
  EnableMenuItem(GetSystemMenu(window, FALSE), kCheckStickCommand,
                 MF_BYCOMMAND | (offered ? MF_ENABLED : MF_GRAYED));
}
