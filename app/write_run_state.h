#pragma once

// What the main window is busy with: idle; writing (the worker copies the set and reads it back);
// checking (the worker reads a stick prepared earlier); reporting (the boxes that close a run or
// a check are up); then idle again.
enum class RunPhase { kIdle, kWriting, kChecking, kReporting };

// What reaches the main window that a run may change the handling of.
enum class WindowEvent {
  kControlInput,   // keys or the mouse aimed at the window or its controls, or their clicks
  kWriteClick,     // the write button reports a click
  kCheckCommand,   // the system menu's item that checks the stick, picked or posted
  kCloseRequest,   // the close box, Alt+F4, the taskbar's close, a close from another program
  kShutdownQuery,  // the system asks whether the session may end
  kDrivePoll,      // the poll's setting of the prompt, the drive list and the write button
};

enum class Verdict {
  kHandle,  // as when no run is going on
  kDrop,    // it changes nothing
  kHold,    // carried out once the run's boxes have been dismissed
  kRefuse,  // answered "not yet"
};

// The one place that decides what a write run or a check does to the window's events.
class WriteRunState {
 public:
  RunPhase Phase() const { return phase_; }
  // A close held while writing is remembered until the run has reported.
  Verdict Decide(WindowEvent event);
  bool ShowsWaitCursor() const {
    return phase_ == RunPhase::kWriting || phase_ == RunPhase::kChecking;
  }

  void StartWriting();
  void StartChecking();
  void StartReporting();
  // Back to idle; true when a close was held and is now to be carried out.
  bool FinishReporting();

 private:
  RunPhase phase_ = RunPhase::kIdle;
  bool closeHeld_ = false;
};

// Whether the system menu offers to check the stick: only with a drive listed to check, and
// never while a run or a check is going on or its boxes are up.
bool CheckCommandOffered(bool driveListed, RunPhase phase);
