#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/notice.h"

// How a write run ended: the drive it wrote to and how many files read back from it intact, or
// the box that reports the failure that stopped it, which leaves the count at 0.
struct FirmwareRunOutcome {
  std::string driveRoot;
  int intactCount = 0;
  std::optional<Notice> failure;

  bool Succeeded() const;
};

// The boxes that close a write run, in the order they are shown; intactCount is how many files
// read back from the drive exactly as written.
std::vector<Notice> FirmwareRunReport(int intactCount, const std::string& driveRoot);
