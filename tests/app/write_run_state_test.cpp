#include "app/write_run_state.h"

#include <gtest/gtest.h>

namespace {

const char* Name(RunPhase phase) {
  constexpr const char* kNames[] = {"idle", "writing", "checking", "reporting"};
  return kNames[static_cast<int>(phase)];
}

WriteRunState InPhase(RunPhase phase) {
  WriteRunState state;
  if (phase == RunPhase::kWriting || phase == RunPhase::kReporting) state.StartWriting();
  if (phase == RunPhase::kChecking) state.StartChecking();
  if (phase == RunPhase::kReporting) state.StartReporting();
  return state;
}

TEST(WriteRunState, EachPhaseDecidesEveryEventAsTheTableSays) {
  constexpr Verdict kHandle = Verdict::kHandle, kDrop = Verdict::kDrop, kHold = Verdict::kHold,
                    kRefuse = Verdict::kRefuse;
  const struct {
    RunPhase phase;
    Verdict input, writeClick, checkCommand, close, shutdownQuery, drivePoll;
    bool waitCursor, checkOffered;
  } table[] = {
      {RunPhase::kIdle, kHandle, kHandle, kHandle, kHandle, kHandle, kHandle, false, true},
      {RunPhase::kWriting, kDrop, kDrop, kDrop, kHold, kRefuse, kDrop, true, false},
      {RunPhase::kChecking, kDrop, kDrop, kDrop, kHandle, kHandle, kDrop, true, false},
      {RunPhase::kReporting, kHandle, kDrop, kDrop, kHandle, kHandle, kHandle, false, false},
  };
  for (const auto& row : table) {
    const std::pair<WindowEvent, Verdict> decisions[] = {
        {WindowEvent::kControlInput, row.input},
        {WindowEvent::kWriteClick, row.writeClick},
        {WindowEvent::kCheckCommand, row.checkCommand},
        {WindowEvent::kCloseRequest, row.close},
        {WindowEvent::kShutdownQuery, row.shutdownQuery},
        {WindowEvent::kDrivePoll, row.drivePoll},
    };
    for (const auto& [event, verdict] : decisions) {
      WriteRunState state = InPhase(row.phase);
      EXPECT_EQ(state.Decide(event), verdict)
          << Name(row.phase) << ", event " << static_cast<int>(event);
      // Deciding never moves the run on.
      EXPECT_EQ(state.Phase(), row.phase) << Name(row.phase);
    }
    EXPECT_EQ(InPhase(row.phase).ShowsWaitCursor(), row.waitCursor) << Name(row.phase);
    // With no drive listed there is nothing to check, whatever the phase.
    EXPECT_EQ(CheckCommandOffered(true, row.phase), row.checkOffered) << Name(row.phase);
    EXPECT_FALSE(CheckCommandOffered(false, row.phase)) << Name(row.phase);
  }
}

TEST(WriteRunState, CloseHeldWhileWritingIsCarriedOutOnceTheBoxesAreDismissed) {
  WriteRunState state;
  state.StartWriting();
  EXPECT_EQ(state.Decide(WindowEvent::kCloseRequest), Verdict::kHold);
  EXPECT_EQ(state.Decide(WindowEvent::kCloseRequest), Verdict::kHold);
  state.StartReporting();
  EXPECT_EQ(state.Phase(), RunPhase::kReporting);
  EXPECT_TRUE(state.FinishReporting());
  EXPECT_EQ(state.Phase(), RunPhase::kIdle);

  // The next run was asked nothing: it ends with the window open.
  state.StartWriting();
  state.StartReporting();
  EXPECT_FALSE(state.FinishReporting());

  // A close while the boxes are up closes at once; nothing is left over for later.
  state.StartWriting();
  state.StartReporting();
  EXPECT_EQ(state.Decide(WindowEvent::kCloseRequest), Verdict::kHandle);
  EXPECT_FALSE(state.FinishReporting());

  // A check is abandoned by a close, and nothing is held for after its box.
  state.StartChecking();
  EXPECT_EQ(state.Decide(WindowEvent::kCloseRequest), Verdict::kHandle);
  state.StartReporting();
  EXPECT_FALSE(state.FinishReporting());
}

}  // namespace
