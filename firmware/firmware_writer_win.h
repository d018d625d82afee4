#pragma once

#include "base/transfer_progress.h"
#include "firmware/integrity.h"
#include "firmware/run_report.h"
#include "firmware/transfer.h"

// What a write run works with, copied to its worker when it starts.
struct FirmwareJob {
  std::string executableDir;
  std::string driveRoot;
  unsigned long processId = 0;
  // The check of the embedded payloads made at start, whose verdict the run waits for.
  PendingIntegrity check;
};

// The run itself, as the worker does it, from the look at where it stages, which opens the
// drive's root, on. A failure raised anywhere in it comes back as the box that reports it, for the
// window to show. The run's block goes into the journal before its outcome goes to the window.
FirmwareRunOutcome WriteFirmwareJob(const FirmwareJob& job, TransferProgress& progress);
