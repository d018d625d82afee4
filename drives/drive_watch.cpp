#include "drives/drive_watch.h"

#include <algorithm>
#include <cctype>
#include <condition_variable>
#include <exception>
#include <map>
#include <mutex>
#include <set>

#include "base/ascii_case.h"

struct DriveWatchState {
  std::shared_ptr<DriveSource> drives;
  DriveWatch::Deliver deliver;
  DriveWatch::StartThread start;
  std::chrono::milliseconds gathered;
  std::mutex mutex;
  bool looking = false;
  // A look asked for while one was going, with what was listed then.
  std::optional<std::vector<std::string>> lookAgain;
  // The letters, in upper case, whose question is still waiting for its answer.
  std::set<std::string> asking;
  // The type of each letter, in upper case, once asked; forgotten when the letter goes.
  std::map<std::string, unsigned> types;
};

namespace {

// The letters one look asks about, and what each answered: nothing yet, or whether it is a
// removable drive whose root answers.
struct Round {
  std::mutex mutex;
  std::condition_variable answered;
  std::vector<std::string> roots;
  std::vector<std::optional<bool>> usable;
  // The look has handed on what had answered; later answers go on by themselves.
  bool handedOn = false;
};

std::string Key(std::string root) {
  std::transform(root.begin(), root.end(), root.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return root;
}

bool IsListed(const std::vector<std::string>& listed, const std::string& root) {
  return std::any_of(listed.begin(), listed.end(),
                     [&](const std::string& entry) { return SameIgnoringAsciiCase(entry, root); });
}

using Shared = std::shared_ptr<DriveWatchState>;

// The root is asked first, its type only once it answers, and that only once while the letter
// stays: a letter's type does not change while it is there, and finding it out opens the root.
// Under Wine the process that serves every Windows program of a session makes that opening, and
// everything waits while a slow drive takes its time; a mere look at the root is the program's
// own. Once the drive has answered, the letter may be asked again: an answer handed on twice is
// listed once.
void AskLetter(const Shared& shared, const std::shared_ptr<Round>& round, std::size_t index) {
  const std::string& root = round->roots[index];
  bool usable = shared->drives->RootAnswers(root);
  if (usable) {
    std::optional<unsigned> type;
    {
      const std::lock_guard lock(shared->mutex);
      if (const auto known = shared->types.find(Key(root)); known != shared->types.end())
        type = known->second;
    }
    if (!type) type = shared->drives->DriveType(root);
    usable = type == kDriveRemovable;
    const std::lock_guard lock(shared->mutex);
    shared->types[Key(root)] = *type;
  }
  {
    const std::lock_guard lock(shared->mutex);
    shared->asking.erase(Key(root));
  }
  bool late = false;
  {
    const std::lock_guard lock(round->mutex);
    round->usable[index] = usable;
    late = round->handedOn;
  }
  round->answered.notify_all();
  if (late && usable) shared->deliver({{root}, std::nullopt});
}

// One look: the letters, then a question to each new one on a thread of its own. What it found
// is handed on even when it is nothing, so that the window knows the look is over.
void LookOnce(const Shared& shared, const std::vector<std::string>& listed) {
  const std::vector<std::string> roots = shared->drives->DriveRoots();
  auto round = std::make_shared<Round>();
  {
    const std::lock_guard lock(shared->mutex);
    std::erase_if(shared->types, [&](const auto& known) {
      return std::none_of(roots.begin(), roots.end(),
                          [&](const std::string& root) { return Key(root) == known.first; });
    });
    for (const std::string& root : roots) {
      // The floppy letters are left alone: touching an empty floppy drive stalls the system.
      if (root == "A:\\" || root == "B:\\" || IsListed(listed, root)) continue;
      const auto known = shared->types.find(Key(root));
      if (known != shared->types.end() && known->second != kDriveRemovable) continue;
      if (!shared->asking.insert(Key(root)).second) continue;
      round->roots.push_back(root);
    }
  }
  round->usable.resize(round->roots.size());
  DriveFindings findings;
  for (std::size_t i = 0; i < round->roots.size(); ++i) {
    try {
      shared->start([shared, round, i] { AskLetter(shared, round, i); });
    } catch (const std::exception& failure) {
      findings.failure = failure.what();
      const std::lock_guard lock(shared->mutex);
      for (std::size_t unasked = i; unasked < round->roots.size(); ++unasked)
        shared->asking.erase(Key(round->roots[unasked]));
      round->roots.resize(i);
      break;
    }
  }
  {
    std::unique_lock lock(round->mutex);
    round->answered.wait_for(lock, shared->gathered, [&] {
      for (std::size_t i = 0; i < round->roots.size(); ++i)
        if (!round->usable[i]) return false;
      return true;
    });
    round->handedOn = true;
    for (std::size_t i = 0; i < round->roots.size(); ++i)
      if (round->usable[i].value_or(false)) findings.roots.push_back(round->roots[i]);
  }
  shared->deliver(std::move(findings));
}

void LookUntilAskedNoMore(const Shared& shared, std::vector<std::string> listed) {
  for (;;) {
    LookOnce(shared, listed);
    const std::lock_guard lock(shared->mutex);
    if (!shared->lookAgain) {
      shared->looking = false;
      return;
    }
    listed = std::move(*shared->lookAgain);
    shared->lookAgain.reset();
  }
}

}  // namespace

DriveWatch::DriveWatch(std::shared_ptr<DriveSource> drives, Deliver deliver, StartThread start,
                       std::chrono::milliseconds gathered)
    : state_(std::make_shared<DriveWatchState>()) {
  state_->drives = std::move(drives);
  state_->deliver = std::move(deliver);
  state_->start = std::move(start);
  state_->gathered = gathered;
}

void DriveWatch::Look(std::vector<std::string> listed) {
  {
    const std::lock_guard lock(state_->mutex);
    if (state_->looking) {
      state_->lookAgain = std::move(listed);
      return;
    }
    state_->looking = true;
  }
  try {
    state_->start(
        [state = state_, listed = std::move(listed)] { LookUntilAskedNoMore(state, listed); });
  } catch (...) {
    const std::lock_guard lock(state_->mutex);
    state_->looking = false;
    throw;
  }
}
