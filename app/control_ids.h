#pragma once

// Identifiers of the main window's controls, also how other programs find them. They lie clear of
// the dialog manager's own (IDOK 1, IDCANCEL 2 … IDCONTINUE 11): the message loop's dialog-key
// handling sends Enter and Escape to the window as commands with those identifiers.
enum ControlId : int {
  kLabel1 = 1001,
  kDeviceBox = 1002,
  kSaveButton = 1003,
  kInfoButton = 1004,
  kFullVer = 1005,
};

// The tool's own items of the window's system menu. The system's own commands start at 0xF000,
// and it keeps the low four bits of a command for itself: WM_SYSCOMMAND is compared on the rest.
enum SystemCommand : unsigned {
  kCheckStickCommand = 0x0110,
  kOpenJournalCommand = 0x0120,
};
