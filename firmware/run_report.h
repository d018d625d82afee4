#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/notice.h"

// How a write run ended: the drive it wrote to and how many files read back from it intact; or
// the bytes the drive lacked for the set, when the run stopped before touching it; or the box
// that reports the failure that stopped it. The last two leave the count at 0. A run that filled
// the drive on its way stopped there. A drive that refused the run as write-protected, and kept
// its files as they were, says so. Files that did not arrive whole and could not be deleted are
// named, in catalogue order.
struct FirmwareRunOutcome {
  std::string driveRoot;
  int intactCount = 0;
  std::uint64_t shortfallBytes = 0;
  bool volumeFull = false;
  std::vector<std::string> undeletable = {};
  std::optional<Notice> failure = std::nullopt;
  bool writeProtected = false;

  bool Succeeded() const;
};

// The boxes that close a write run, in the order they are shown.
std::vector<Notice> FirmwareRunReport(const FirmwareRunOutcome& outcome);

// The line that names files left on the stick under the set's names that may be wrong: up to
// three names, then how many more.
std::string UndeletableFilesLine(const std::vector<std::string>& fileNames);
