#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "drives/drive_poll.h"

// What a look at the drives found.
struct DriveFindings {
  // Removable drives whose root answered, in the order they are to be listed.
  std::vector<std::string> roots;
  // Why a letter could not be asked about: its look-up could not be started.
  std::optional<std::string> failure;
};

// What a watch shares with the threads it starts, which may outlive it.
struct DriveWatchState;

// How long a look waits for its letters before it hands on what those that answered found; a
// letter that answers later is handed on by itself.
inline constexpr std::chrono::milliseconds kDriveAnswersGathered{100};

// Looks at the drives off the window's thread, so that a drive that is slow to answer, or never
// answers, holds up nothing but itself. Each letter not listed yet is asked on a thread of its
// own, and never while an earlier question to it is still waiting for its answer. What is found
// goes to `deliver`, called from those threads: once a look, with the letters that answered in
// time, in the system's order, and once more for each letter that answers later. Threads left
// waiting on a drive are not waited for: the watch may go while they still run.
class DriveWatch {
 public:
  using Deliver = std::function<void(DriveFindings)>;
  // Runs the work on a new thread that nobody waits for; raises a Failure when it cannot.
  using StartThread = std::function<void(std::function<void()> work)>;
  DriveWatch(std::shared_ptr<DriveSource> drives, Deliver deliver, StartThread start,
             std::chrono::milliseconds gathered = kDriveAnswersGathered);

  // Looks at the drives, passing over those already listed; asked while a look is still going,
  // looks once more after it. Raises the Failure of a thread that cannot be started.
  void Look(std::vector<std::string> listed);

 private:
  std::shared_ptr<DriveWatchState> state_;
};
