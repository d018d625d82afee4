#pragma once

#include <cstdint>

enum class ProgressState { kNone, kNormal, kError };

// The progress bar on the tool's taskbar button.
class TaskbarProgress {
 public:
  virtual ~TaskbarProgress() = default;
  virtual void SetState(ProgressState state) = 0;
  virtual void SetValue(std::uint64_t completed, std::uint64_t total) = 0;
};

// A write run or a check on the taskbar button: the bytes done out of all it will do (for a
// run, the bytes copied to the drive plus the bytes read back).
class RunProgress {
 public:
  explicit RunProgress(TaskbarProgress& taskbar) : taskbar_(taskbar) {}

  void Start(std::uint64_t totalBytes);
  void Show(std::uint64_t bytesDone);
  // A failed run shows the error state until its box is dismissed; any other run clears the bar.
  void Finish(bool succeeded);
  void Dismissed();

 private:
  TaskbarProgress& taskbar_;
  std::uint64_t total_ = 0;
  bool failed_ = false;
};
