#include "app/write_run_state.h"

// While files are written nothing may start a second run or a check, change the selected drive,
// end the program or touch the write button; drives found meanwhile are still listed. A check
// writes nothing, so a close or the end of the session abandons it; otherwise it is left alone as a
// run is. Once the boxes are up the window behaves as it always did, except that a poll re-enabling
// the button must not let a click start a run, nor a posted command a check, under the boxes.
Verdict WriteRunState::Decide(WindowEvent event) {
  if (phase_ == RunPhase::kIdle) return Verdict::kHandle;
  if (phase_ == RunPhase::kReporting) {
    const bool starts = event == WindowEvent::kWriteClick || event == WindowEvent::kCheckCommand;
    return starts ? Verdict::kDrop : Verdict::kHandle;
  }
  switch (event) {
    case WindowEvent::kCloseRequest:
      if (phase_ == RunPhase::kChecking) return Verdict::kHandle;
      closeHeld_ = true;
      return Verdict::kHold;
    case WindowEvent::kShutdownQuery:
      return phase_ == RunPhase::kChecking ? Verdict::kHandle : Verdict::kRefuse;
    default:
      return Verdict::kDrop;
  }
}

void WriteRunState::StartWriting() { phase_ = RunPhase::kWriting; }

void WriteRunState::StartChecking() { phase_ = RunPhase::kChecking; }

void WriteRunState::StartReporting() { phase_ = RunPhase::kReporting; }

bool WriteRunState::FinishReporting() {
  phase_ = RunPhase::kIdle;
  const bool close = closeHeld_;
  closeHeld_ = false;
  return close;
}

bool CheckCommandOffered(bool driveListed, RunPhase phase) {
  return driveListed && phase == RunPhase::kIdle;
}
