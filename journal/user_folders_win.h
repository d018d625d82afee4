#pragma once

#include "journal/journal_block.h"

// The user's profile and his Desktop, Documents, Downloads, Temp and AppData folders, each in the
// form the system gives it, its long form and its short one. A folder the system cannot name is
// left out.
UserFolders UserFoldersNow();
