#include "firmware/write_firmware_set_win.h"

#include <windows.h>

#include "app/executable_dir_win.h"
#include "app/file_places_win.h"
#include "app/main_form_win.h"
#include "app/notice_win.h"
#include "firmware/embedded_integrity_win.h"
#include "firmware/payloads_win.h"
#include "firmware/transfer.h"

void WriteFirmwareSet() {
  Form1->SetWriteEnabled(false);
  // No "insert a disk" prompt from the system while a drive that has gone is touched.
  SetErrorMode(SEM_FAILCRITICALERRORS);
  const std::string driveRoot = Form1->SelectedDriveRoot();
  const std::string executableDir = ExecutableDirectory();
  const DirectoryRelation executable = RelateDirectories(executableDir, driveRoot);
  // Run from the drive root itself, each staging file would be its own destination, and
  // clearing the destination would take the staged file and the drive's old copy with it.
  const std::string stagingDir =
      StagingDirectory(executableDir, executable.sameDirectory, TemporaryDirectory());
  // Where the user keeps the temporary folder on the stick, staging there takes its room too.
  const bool stagingOnDrive =
      (executable.sameDirectory ? RelateDirectories(stagingDir, driveRoot) : executable).sameVolume;
  Form1->StartWriting(
      {{stagingDir, driveRoot, stagingOnDrive, GetCurrentProcessId()}, StartupIntegrityCheck()},
      FirmwareSetBytes(ResourcePayloads()));
}

// A failure that stopped the run leaves the button disabled until the next drive poll.
void ReportFirmwareSet(const FirmwareRunOutcome& outcome) {
  for (const Notice& notice : FirmwareRunReport(outcome)) {
    // Closed while a box was up: the window is gone and nobody is left to tell.
    if (!Form1->Handle()) return;
    ShowNotice(Form1->Handle(), notice);
  }
  if (Form1->Handle() && !outcome.failure) Form1->SetWriteEnabled(true);
}
