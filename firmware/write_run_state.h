#pragma once

// A write run as the main window sees it: idle, writing (the worker copies the set and reads it
// back) and reporting (the run's boxes are up), then idle again.
enum class RunPhase { kIdle, kWriting, kReporting };

// What reaches the main window that a run may change the handling of.
enum class WindowEvent {
  kControlInput,   // keys or the mouse aimed at the window or its controls, or their clicks
  kWriteClick,     // the write button reports a click
  kCloseRequest,   // the close box, Alt+F4, the taskbar's close, a close from another program
  kShutdownQuery,  // the system asks whether the session may end
  kDrivePoll,      // the poll timer's tick or a drive's arrival
};

enum class Verdict {
  kHandle,  // as when no run is going on
  kDrop,    // it changes nothing
  kHold,    // carried out once the run's boxes have been dismissed
  kRefuse,  // answered "not yet"
};

// The one place that decides what a write run does to the window's events.
class WriteRunState {
 public:
  RunPhase Phase() const { return phase_; }
  // A close held while writing is remembered until the run has reported.
  Verdict Decide(WindowEvent event);
  bool ShowsWaitCursor() const { return phase_ == RunPhase::kWriting; }

  void StartWriting();
  void StartReporting();
  // Back to idle; true when a close was held and is now to be carried out.
  bool FinishReporting();

 private:
  RunPhase phase_ = RunPhase::kIdle;
  bool closeHeld_ = false;
};
