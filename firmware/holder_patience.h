#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// How a file step ended, as far as a run tells the outcomes apart.
enum class FileOutcome {
  kDone,
  // Another program has the file open in a way that shuts this step out (a sharing or a lock
  // violation): it may let go in a moment.
  kHeld,
  kDenied,
  // A copy told not to replace found the name taken.
  kNameTaken,
  // The volume has no room left for what the step writes.
  kVolumeFull,
  kFailed,
};

// A file step's outcome and the system's error number behind it: 0 when the step succeeded or
// the system gave none.
struct StepOutcome {
  StepOutcome(FileOutcome kind = FileOutcome::kDone, std::uint32_t error = 0)
      : kind(kind), error(error) {}
  bool operator==(FileOutcome other) const { return kind == other; }

  FileOutcome kind;
  std::uint32_t error;
};

// The time a run waits by: the steady clock and a real sleep in the program, simulated in tests.
struct RunClock {
  using Duration = std::chrono::steady_clock::duration;
  std::function<std::chrono::steady_clock::time_point()> now;
  std::function<void(Duration)> sleep;
};

RunClock SteadyRunClock();

// The outcome worth waiting for at any step: another program holds the file.
bool IsHeld(FileOutcome outcome);

// How long steps may wait for holders: for one catalogue entry, and for the whole run.
struct PatienceBudgets {
  std::chrono::milliseconds entry;
  std::chrono::milliseconds run;
};

// The run's steps, the read-back included.
inline constexpr PatienceBudgets kStepBudgets{std::chrono::milliseconds{2000},
                                              std::chrono::milliseconds{5000}};
// Deleting what did not arrive whole: a budget of its own, so that a run that has spent its
// patience on one held file still clears away the wrong files of the others.
inline constexpr PatienceBudgets kCountOutBudgets{std::chrono::milliseconds{2000},
                                                  std::chrono::milliseconds{10000}};

// Patience with programs that hold the drive's files for a moment, as a virus scanner or an
// indexer does when a stick arrives. A step that fails in a way that waiting can mend is tried
// again after short pauses that grow, within the time each catalogue entry may spend so and the
// time the whole run may; once the run's is spent nothing is tried again.
class HolderPatience {
 public:
  HolderPatience(RunClock clock, std::size_t entries, PatienceBudgets budgets);

  // Makes the attempt, and again for as long as it fails with an outcome worth waiting for and
  // the budgets of the entry and the run allow. Gives the last attempt's outcome.
  StepOutcome Persist(std::size_t entry, const std::function<StepOutcome()>& attempt,
                      const std::function<bool(FileOutcome)>& worthWaiting = IsHeld);
  // How long the entry's steps have waited so far.
  RunClock::Duration Waited(std::size_t entry) const { return entrySpent_[entry]; }

 private:
  RunClock clock_;
  PatienceBudgets budgets_;
  std::vector<RunClock::Duration> entrySpent_;
  RunClock::Duration runSpent_{};
};
