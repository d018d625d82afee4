#include "firmware/stick_check_win.h"

#include <chrono>
#include <exception>

#include "app/error_report.h"
#include "app/journal.h"
#include "app/journal_facts_win.h"
#include "app/main_form_win.h"
#include "app/notice_win.h"
#include "app/text_win.h"
#include "app/texts.h"
#include "app/version_display.h"
#include "app/version_info_win.h"
#include "firmware/embedded_integrity_win.h"
#include "firmware/payloads_win.h"
#include "firmware/stick_check_report.h"
#include "firmware/transfer_files_win.h"

void CheckSelectedStick() {
  Form1->SetWriteEnabled(false);
  // No "insert a disk" prompt from the system while a drive that has gone is read.
  SetErrorMode(SEM_FAILCRITICALERRORS);
  Form1->StartChecking({Form1->SelectedDriveRoot(), StartupIntegrityCheck()},
                       FirmwareSetBytes(ResourcePayloads()));
}

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
  ToolJournal().Append(CheckBlock(journal, SystemErrorText));
  return box;
}

void ReportStickCheck(const Notice& box) {
  ShowNotice(Form1->Handle(), box);
  // Closed while the box was up: the window is gone and nobody is left to tell.
  if (Form1->Handle()) Form1->SetWriteEnabled(true);
}
