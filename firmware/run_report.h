#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/notice.h"
#include "firmware/transfer.h"

// Why a run did not write the whole set, as far as its record tells: where several apply, the
// first of these.
enum class RunFault {
  kUnknown,
  kStickGone,          // its root stopped answering
  kWriteProtected,     // it refused a change as write-protected, as a locked card does
  kWritingRefused,     // access denied while its root answered, and not for a read-only file
  kFileHeld,           // another program held a file longer than the run waited
  kReadBackDifferent,  // a file read back other than written
};

// How a write run ended: the drive it wrote to and how many files read back from it intact; or
// the bytes the drive lacked for the set, when the run stopped before touching it; or the box
// that reports the failure that stopped it. The last two leave the count at 0. A run that filled
// the drive on its way stopped there. Files that did not arrive whole and could not be deleted are
// named, in catalogue order.
struct FirmwareRunOutcome {
  std::string driveRoot;
  int intactCount = 0;
  std::uint64_t shortfallBytes = 0;
  bool volumeFull = false;
  std::vector<std::string> undeletable = {};
  std::optional<Notice> failure = std::nullopt;
  RunFault fault = RunFault::kUnknown;
  // The run deleted a file on the drive or began a copy there.
  bool driveChanged = true;

  bool Succeeded() const;
};

// What the run's record tells of its end, for its boxes.
FirmwareRunOutcome OutcomeOfRun(const std::string& driveRoot, const TransferResult& run);

// The boxes that close a write run, in the order they are shown.
std::vector<Notice> FirmwareRunReport(const FirmwareRunOutcome& outcome);

// The line that names files left on the stick under the set's names that may be wrong: up to
// three names, then how many more.
std::string UndeletableFilesLine(const std::vector<std::string>& fileNames);
