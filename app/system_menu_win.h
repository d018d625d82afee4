#pragma once

#include <windows.h>

// The tool's own items at the foot of a window's system menu (GetSystemMenu), after a separator:
// the check of the stick and the journal.
void AddToolItems(HMENU systemMenu);

// Greys the check of the stick while it is not on offer. A posted command ignores the grey: the
// window decides again when the command comes.
void OfferStickCheck(HMENU systemMenu, bool offered);
