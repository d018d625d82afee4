#pragma once

#include <windows.h>

#include <stop_token>
#include <string>

#include "app/notice.h"
#include "firmware/integrity.h"
#include "firmware/transfer.h"

// Posted by a check's worker to the window that started it at the check's end, with the Notice
// that closes it, which the window takes over through Worker::Finish, in lParam.
inline constexpr UINT kStickCheckFinished = WM_APP + 3;

// What a check works with, copied to its worker when it starts.
struct StickCheckJob {
  std::string root;
  PendingIntegrity check;
};

// Starts checking the stick selected in the main window; the main window hears of the check's
// end and hands its box to ReportStickCheck.
void CheckSelectedStick();

// The check itself, as the worker does it, from the wait for the check of the embedded payloads
// on: the box that closes it. Its block goes into the journal first, unless it was abandoned.
Notice CheckStickJob(const StickCheckJob& job, const std::stop_token& stop,
                     TransferProgress& progress);

// Shows the box that closes a check and enables the write button again.
void ReportStickCheck(const Notice& box);
