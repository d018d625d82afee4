#pragma once

#include <windows.h>

#include "drives/drive_poll.h"

// The drive letters of this system.
class WinDriveSource : public DriveSource {
 public:
  std::vector<std::string> DriveRoots() override;
  unsigned DriveType(const std::string& root) override;
  bool RootAnswers(const std::string& root) override;
};

// Whether a WM_DEVICECHANGE the system broadcast says that a volume, a new drive letter, has
// arrived.
bool IsVolumeArrival(WPARAM event, LPARAM data);
