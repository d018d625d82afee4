#include "firmware/holder_patience.h"

#include <algorithm>
#include <thread>

namespace {

constexpr std::chrono::milliseconds kFirstPause{10};
constexpr std::chrono::milliseconds kLongestPause{200};

}  // namespace

RunClock SteadyRunClock() {
  return {[] { return std::chrono::steady_clock::now(); },
          [](RunClock::Duration pause) { std::this_thread::sleep_for(pause); }};
}

HolderPatience::HolderPatience(RunClock clock, std::size_t entries, PatienceBudgets budgets)
    : clock_(std::move(clock)), budgets_(budgets), entrySpent_(entries) {}

// The time an attempt takes after its pause counts too: the budgets bound how much longer a run
// lasts for its holders, not only how long it sleeps.
StepOutcome HolderPatience::Persist(std::size_t entry, const std::function<StepOutcome()>& attempt,
                                    const std::function<bool(FileOutcome)>& worthWaiting) {
  StepOutcome outcome = attempt();
  for (RunClock::Duration pause = kFirstPause;
       outcome.kind != FileOutcome::kDone && worthWaiting(outcome.kind);
       pause = std::min<RunClock::Duration>(2 * pause, kLongestPause)) {
    const RunClock::Duration left =
        std::min<RunClock::Duration>(budgets_.entry - entrySpent_[entry], budgets_.run - runSpent_);
    if (left <= RunClock::Duration::zero()) break;
    const auto started = clock_.now();
    clock_.sleep(std::min(pause, left));
    outcome = attempt();
    const RunClock::Duration spent = clock_.now() - started;
    entrySpent_[entry] += spent;
    runSpent_ += spent;
  }
  return outcome;
}

bool IsHeld(FileOutcome outcome) { return outcome == FileOutcome::kHeld; }
