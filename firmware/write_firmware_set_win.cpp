#include "firmware/write_firmware_set_win.h"

#include <windows.h>

#include "app/executable_dir_win.h"
#include "app/file_places_win.h"
#include "app/main_form_win.h"
#include "app/notice_win.h"
#include "firmware/embedded_integrity_win.h"
#include "firmware/payloads_win.h"
#include "firmware/run_report.h"
#include "firmware/transfer_files_win.h"

namespace {

// The run handles no messages until its first box, so the window would otherwise give no sign
// that it is working. Also put back when a failure ends the run early.
class WaitCursor {
 public:
  WaitCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};

int TransferToDrive(const std::string& driveRoot) {
  const WaitCursor waiting;
  const std::string executableDir = ExecutableDirectory();
  // Run from the drive root itself, each staging file would be its own destination, and
  // clearing the destination would take the staged file and the drive's old copy with it.
  const std::string stagingDir = StagingDirectory(
      executableDir, SameDirectory(executableDir, driveRoot), TemporaryDirectory());
  ResourcePayloads payloads;
  WinTransferFiles files;
  return TransferFirmwareSet(StartupIntegrityCheck(), payloads, files, stagingDir, driveRoot);
}

}  // namespace

void WriteFirmwareSet() {
  Form1->SetWriteEnabled(false);
  // No "insert a disk" prompt from the system while a drive that has gone is touched.
  SetErrorMode(SEM_FAILCRITICALERRORS);
  const std::string driveRoot = Form1->SelectedDriveRoot();
  const int intact = TransferToDrive(driveRoot);
  for (const Notice& notice : FirmwareRunReport(intact, driveRoot)) {
    // Closed while a box was up: the window is gone and nobody is left to tell.
    if (!Form1->Handle()) return;
    ShowNotice(Form1->Handle(), notice);
  }
  if (Form1->Handle()) Form1->SetWriteEnabled(true);
}
