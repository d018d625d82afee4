#include "firmware/write_run_state.h"

// While files are written nothing may start a second run, change the selected drive, end the
// program or poll the drives. Once the boxes are up the window behaves as it always did, except
// that a poll re-enabling the button must not let a click start a run under the boxes.
Verdict WriteRunState::Decide(WindowEvent event) {
  if (phase_ == RunPhase::kIdle) return Verdict::kHandle;
  if (phase_ == RunPhase::kReporting) {
    return event == WindowEvent::kWriteClick ? Verdict::kDrop : Verdict::kHandle;
  }
  switch (event) {
    case WindowEvent::kCloseRequest:
      closeHeld_ = true;
      return Verdict::kHold;
    case WindowEvent::kShutdownQuery:
      return Verdict::kRefuse;
    default:
      return Verdict::kDrop;
  }
}

void WriteRunState::StartWriting() { phase_ = RunPhase::kWriting; }

void WriteRunState::StartReporting() { phase_ = RunPhase::kReporting; }

bool WriteRunState::FinishReporting() {
  phase_ = RunPhase::kIdle;
  const bool close = closeHeld_;
  closeHeld_ = false;
  return close;
}
