#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>

#include "base/transfer_progress.h"

// What a job on the worker thread leaves for the window's thread: whether it went well, which the
// taskbar button shows, and the boxes that close it, shown on the window's thread.
struct WorkReport {
  bool succeeded = false;
  std::function<void()> showBoxes;
};

// Long work for the worker thread: it counts the bytes it gets through, and may end early once
// asked to stop, as when the window goes.
using WorkerJob = std::function<WorkReport(const std::stop_token&, TransferProgress&)>;

// What the tool's larger procedures (writing the set, checking a stick, showing the list of
// changes) use of the main window.
class ToolWindow {
 public:
  // The window, owner of their boxes; null once it has been destroyed.
  virtual HWND Handle() const = 0;
  // The drive list's selected entry, a drive root.
  virtual std::string SelectedDriveRoot() const = 0;
  virtual void SetWriteEnabled(bool enabled) = 0;
  // Hands a write run to the worker; setBytes is the size of the set it writes.
  virtual void StartWriting(WorkerJob job, std::uint64_t setBytes) = 0;
  // Hands the check of a stick to the worker; setBytes is the size of the set it reads at most.
  virtual void StartChecking(WorkerJob job, std::uint64_t setBytes) = 0;

 protected:
  ~ToolWindow() = default;
};

// The one main window, through which the larger procedures reach it; null while there is none.
extern ToolWindow* Form1;
