#include "firmware/stick_check_win.h"

#include <chrono>
#include <exception>
#include <stop_token>
#include <string>

#include "base/error_report.h"
#include "base/notice_win.h"
#include "base/text_win.h"
#include "base/texts.h"
#include "base/tool_window_win.h"
#include "base/version_info_win.h"
#include "base/version_numbers.h"
#include "firmware/embedded_integrity_win.h"
#include "firmware/firmware_journal.h"
#include "firmware/payloads_win.h"
#include "firmware/stick_check_report.h"
#include "firmware/transfer_files_win.h"
#include "journal/journal_facts_win.h"

namespace {

// What a check works with, copied to its worker when it starts.
struct StickCheckJob {
  std::string root;
  PendingIntegrity check;
};

// The check itself, as the worker does it, from the wait for the check of the embedded payloads
// on: the box that closes it. Its block goes into the journal first, unless it was abandoned.
Notice CheckStickJob(const StickCheckJob& job, const std::stop_token& stop,
                     TransferProgress& progress) {
  const auto started = std::chrono::steady_clock::now();
  CheckJournal journal{GatherHeading(), GatherDriveFacts(job.root)};
  Notice box;
  try {
    // The payloads the files are compared with are the ones the recorded digests vouch for.
    AwaitIntactFirmwareSet(job.check, kDamagedNothingChecked);
    const ResourcePayloads payloads;
    WinTransferFiles files;
    const StickCheck check = CheckStick(job.root, files, payloads, SteadyRunClock(), &progress,
                                        [&stop] { return stop.stop_requested(); });
    box = StickCheckReport(check, job.root, ShortVersion(ExeFixedVersionWord()),
                           (ExeFixedFileFlags() & kPrivateBuildFlag) != 0);
    journal.check = check;
  } catch (const std::exception& failure) {
    box = FailureReport(failure);
  }
  if (stop.stop_requested()) return box;
  journal.integrity = job.check.get().firmwareSet;
  journal.boxes = {box};
  journal.duration = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - started);
  AddToJournal(CheckBlock(journal, SystemErrorText));
  return box;
}

// Shows the box that closes a check and enables the write button again.
void ReportStickCheck(const Notice& box) {
  ShowNotice(Form1->Handle(), box);
  // Closed while the box was up: the window is gone and nobody is left to tell.
  if (Form1->Handle()) Form1->SetWriteEnabled(true);
}

}  // namespace

void CheckSelectedStick() {
  Form1->SetWriteEnabled(false);
  const StickCheckJob job{Form1->SelectedDriveRoot(), StartupIntegrityCheck()};
  Form1->StartChecking(
      [job](const std::stop_token& stop, TransferProgress& progress) {
        const Notice box = CheckStickJob(job, stop, progress);
        // Only an all-clear leaves no error on the taskbar button.
        return WorkReport{box.icon == NoticeIcon::kInformation, [box] { ReportStickCheck(box); }};
      },
      FirmwareSetBytes(ResourcePayloads()));
}
