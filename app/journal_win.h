#pragma once

#include <windows.h>

#include <exception>

#include "app/error_report.h"
#include "app/notice.h"

// Saves the journal to a new file in the user's temporary folder, as UTF-8 with a byte-order mark
// and CRLF line ends, which Notepad on Windows 7 shows right, and opens it with the program for
// text files. A box says where it is when no program opens it, why it could not be saved, or that
// there is nothing in it yet.
void OpenJournal(HWND owner);

// Shows a box outside a run or a check, and notes it in the journal first.
void ShowJournaledNotice(HWND owner, const Notice& notice);

// Runs one event handler; a failure that escapes it is noted in the journal and reported in its
// box, and the tool carries on. Nothing thrown ever reaches the system's window code.
template <typename Handler>
void RunHandler(HWND owner, Handler&& handler) {
  try {
    handler();
  } catch (const std::exception& failure) {
    ShowJournaledNotice(owner, FailureReport(failure));
  }
}
