#pragma once

#include <windows.h>

#include <commctrl.h>

// The common controls' functions the tool calls, from the library in the system folder.
struct CommonControls {
  decltype(&::InitCommonControlsEx) InitCommonControlsEx;
  decltype(&::SetWindowSubclass) SetWindowSubclass;
  decltype(&::DefSubclassProc) DefSubclassProc;
  decltype(&::RemoveWindowSubclass) RemoveWindowSubclass;
};

// Loaded and initialised on first use, which start-up makes early so that a failure ("Cannot
// load library comctl32.dll") ends the tool there; later calls never raise.
const CommonControls& CommonControlsLibrary();
