#include "app/run_progress.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

class FakeTaskbar : public TaskbarProgress {
 public:
  void SetState(ProgressState state) override {
    constexpr const char* kNames[] = {"none", "normal", "error"};
    calls.push_back(std::string("state ") + kNames[static_cast<int>(state)]);
  }
  void SetValue(std::uint64_t completed, std::uint64_t total) override {
    calls.push_back("value " + std::to_string(completed) + "/" + std::to_string(total));
  }
  std::vector<std::string> TakeCalls() { return std::exchange(calls, {}); }

  std::vector<std::string> calls;
};

using Calls = std::vector<std::string>;

TEST(RunProgress, CountsOutOfTheTotalAndClearsWhenARunSucceeds) {
  FakeTaskbar taskbar;
  RunProgress progress(taskbar);
  progress.Start(2000);
  EXPECT_EQ(taskbar.TakeCalls(), (Calls{"value 0/2000", "state normal"}));
  progress.Show(400);
  progress.Show(2000);
  EXPECT_EQ(taskbar.TakeCalls(), (Calls{"value 400/2000", "value 2000/2000"}));
  progress.Finish(true);
  EXPECT_EQ(taskbar.TakeCalls(), (Calls{"state none"}));
  progress.Dismissed();
  EXPECT_EQ(taskbar.TakeCalls(), Calls{});
}

TEST(RunProgress, FailedRunShowsTheErrorOnAFullBarUntilItsBoxIsDismissed) {
  FakeTaskbar taskbar;
  RunProgress progress(taskbar);
  progress.Start(2000);
  progress.Show(300);
  taskbar.TakeCalls();
  progress.Finish(false);
  EXPECT_EQ(taskbar.TakeCalls(), (Calls{"value 2000/2000", "state error"}));
  progress.Dismissed();
  EXPECT_EQ(taskbar.TakeCalls(), (Calls{"state none"}));

  // The next run starts afresh and leaves no error behind.
  progress.Start(500);
  progress.Finish(true);
  progress.Dismissed();
  EXPECT_EQ(taskbar.TakeCalls(), (Calls{"value 0/500", "state normal", "state none"}));
}

}  // namespace
