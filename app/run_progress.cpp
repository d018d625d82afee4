#include "app/run_progress.h"

void RunProgress::Start(std::uint64_t totalBytes) {
  total_ = totalBytes;
  failed_ = false;
  taskbar_.SetValue(0, total_);
  taskbar_.SetState(ProgressState::kNormal);
}

void RunProgress::Show(std::uint64_t bytesDone) { taskbar_.SetValue(bytesDone, total_); }

// The error state shows on a full bar: a run that failed at its first file has no bar to colour.
void RunProgress::Finish(bool succeeded) {
  if (succeeded) {
    taskbar_.SetState(ProgressState::kNone);
    return;
  }
  failed_ = true;
  taskbar_.SetValue(total_, total_);
  taskbar_.SetState(ProgressState::kError);
}

void RunProgress::Dismissed() {
  if (!failed_) return;
  failed_ = false;
  taskbar_.SetState(ProgressState::kNone);
}
