#pragma once

#include <windows.h>

// Saves the journal to a new file in the user's temporary folder, as UTF-8 with a byte-order mark
// and CRLF line ends, which Notepad on Windows 7 shows right, and opens it with the program for
// text files. A box says where it is when no program opens it, why it could not be saved, or that
// there is nothing in it yet.
void OpenJournal(HWND owner);
