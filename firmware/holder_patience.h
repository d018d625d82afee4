#pragma once

#include <chrono>
#include <cstddef>
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
  kFailed,
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

// Patience with programs that hold the drive's files for a moment, as a virus scanner or an
// indexer does when a stick arrives. A step that fails in a way that waiting can mend is tried
// again after short pauses that grow, within the time each catalogue entry may spend so (its
// read-back included) and the time the whole run may; once the run's is spent nothing is tried
// again.
class HolderPatience {
 public:
  static constexpr std::chrono::milliseconds kEntryBudget{2000};
  static constexpr std::chrono::milliseconds kRunBudget{5000};

  HolderPatience(RunClock clock, std::size_t entries);

  // Makes the attempt, and again for as long as it fails with an outcome worth waiting for and
  // the budgets of the entry and the run allow. Gives whether it succeeded in the end.
  bool Persist(std::size_t entry, const std::function<FileOutcome()>& attempt,
               const std::function<bool(FileOutcome)>& worthWaiting = IsHeld);

 private:
  RunClock clock_;
  std::vector<RunClock::Duration> entrySpent_;
  RunClock::Duration runSpent_{};
};
