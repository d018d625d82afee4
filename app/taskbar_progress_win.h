#pragma once

#include <windows.h>

#include <memory>

#include "app/run_progress.h"

struct ITaskbarList3;

// The progress bar of a taskbar button, through the shell's ITaskbarList3. It shows nothing until
// the taskbar has made the button, nor where the shell offers no such object: a run goes on
// without it.
class TaskbarButtonProgress : public TaskbarProgress {
 public:
  // The taskbar has made, or made again, the button that `button` holds.
  void Attach(HWND button);
  void SetState(ProgressState state) override;
  void SetValue(std::uint64_t completed, std::uint64_t total) override;

 private:
  struct Release {
    void operator()(ITaskbarList3* taskbar) const;
  };
  HWND button_ = nullptr;
  std::unique_ptr<ITaskbarList3, Release> taskbar_;
};
