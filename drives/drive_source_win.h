#pragma once

#include "drives/drive_poll.h"

// The drive letters of this system.
class WinDriveSource : public DriveSource {
 public:
  std::vector<std::string> DriveRoots() override;
  unsigned DriveType(const std::string& root) override;
};
