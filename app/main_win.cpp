#include <windows.h>

#include <objbase.h>

#include "app/application_window_win.h"
#include "app/main_form_win.h"
#include "base/common_controls_win.h"
#include "base/failure.h"
#include "base/notice_win.h"
#include "base/system_library_win.h"
#include "base/version_info_win.h"
#include "base/version_numbers.h"
#include "firmware/embedded_integrity_win.h"
#include "journal/journal_facts_win.h"

namespace {

void RunMessageLoop(TForm1& form) {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) form.Route(message);
}

int RunApplication(HINSTANCE instance, int showCommand) {
  // Both objects outlive every handler: a close while a box is up destroys the windows, and the
  // handler still running under the box finds them gone rather than freed.
  ApplicationWindow application;
  TForm1 form(application.Taskbar());
  Form1 = &form;
  int exitCode = 0;
  try {
    // Every library the window needs, loaded before it: one that cannot be had ends the tool here.
    CommonControlsLibrary();
    LoadVersionLibrary();
    // What every block of the journal says of the tool.
    IdentifyTool({GetExeFileVersionString(), (ExeFixedFileFlags() & kPrivateBuildFlag) != 0,
                  EmbeddedFirmwareSetSha256()});
    // The payloads are hashed while the window comes up; a click waits for the verdicts.
    StartupIntegrityCheck();
    application.Create(instance);
    form.Create(instance, application.Handle(), showCommand);
    application.Show(form.Handle());
    RunMessageLoop(form);
  } catch (const Failure& failure) {
    // No window to report through, or no library for one: the tool cannot start.
    ShowDefaultErrorReport(nullptr, failure.what());
    exitCode = 1;
  }
  Form1 = nullptr;
  return exitCode;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  // No "insert a disk" box from the system, for the whole process and before the first poll: the
  // poll asks empty card slots for their root, and runs and checks touch drives that have gone.
  SetErrorMode(SEM_FAILCRITICALERRORS);
  RestrictLibrarySearch();
  LeaveStartingFolder();
  // The shell may run its handlers for opening the change log on this thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  const int exitCode = RunApplication(instance, showCommand);
  if (SUCCEEDED(com)) CoUninitialize();
  return exitCode;
}
