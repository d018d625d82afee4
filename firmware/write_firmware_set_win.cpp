#include "firmware/write_firmware_set_win.h"

#include <windows.h>

#include "app/executable_dir_win.h"
#include "app/main_form_win.h"
#include "app/notice_win.h"
#include "firmware/payloads_win.h"
#include "firmware/run_report.h"
#include "firmware/transfer_files_win.h"

void WriteFirmwareSet() {
  Form1->SetWriteEnabled(false);
  // No "insert a disk" prompt from the system while a drive that has gone is touched.
  SetErrorMode(SEM_FAILCRITICALERRORS);
  const std::string driveRoot = Form1->SelectedDriveRoot();
  ResourcePayloads payloads;
  WinTransferFiles files;
  const int copied = TransferFirmwareSet(payloads, files, ExecutableDirectory(), driveRoot);
  for (const Notice& notice : FirmwareRunReport(copied, driveRoot)) {
    // Closed while a box was up: the window is gone and nobody is left to tell.
    if (!Form1->Handle()) return;
    ShowNotice(Form1->Handle(), notice);
  }
  if (Form1->Handle()) Form1->SetWriteEnabled(true);
}
