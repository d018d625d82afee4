#include "firmware/write_firmware_set_win.h"

#include <windows.h>

#include "base/executable_dir_win.h"
#include "base/notice_win.h"
#include "base/tool_window_win.h"
#include "firmware/embedded_integrity_win.h"
#include "firmware/firmware_writer_win.h"
#include "firmware/payloads_win.h"
#include "firmware/run_report.h"
#include "firmware/transfer.h"

namespace {

// Shows how a write run ended, in the boxes that close it, and enables the write button again. A
// failure that stopped the run leaves the button disabled until the next drive poll.
void ReportFirmwareSet(const FirmwareRunOutcome& outcome) {
  for (const Notice& notice : FirmwareRunReport(outcome)) {
    // Closed while a box was up: the window is gone and nobody is left to tell.
    if (!Form1->Handle()) return;
    ShowNotice(Form1->Handle(), notice);
  }
  if (Form1->Handle() && !outcome.failure) Form1->SetWriteEnabled(true);
}

}  // namespace

// Nothing here touches the drive: the window's thread hands over the drive root, and the worker
// finds out where to stage.
void WriteFirmwareSet() {
  Form1->SetWriteEnabled(false);
  const FirmwareJob job{ExecutableDirectory(), Form1->SelectedDriveRoot(), GetCurrentProcessId(),
                        StartupIntegrityCheck()};
  Form1->StartWriting(
      [job](const std::stop_token&, TransferProgress& progress) {
        FirmwareRunOutcome outcome = WriteFirmwareJob(job, progress);
        const bool succeeded = outcome.Succeeded();
        return WorkReport{succeeded,
                          [outcome = std::move(outcome)] { ReportFirmwareSet(outcome); }};
      },
      FirmwareSetBytes(ResourcePayloads()));
}
