#pragma once

#include <windows.h>

#include "drives/drive_poll.h"
#include "drives/drive_watch.h"

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

// Posted to the window a watch made with PostFindingsTo hands its findings to, with a new
// DriveFindings in lParam, which the window takes over through TakeFindings.
inline constexpr UINT kDrivesFound = WM_APP + 3;

// Hands a watch's findings to the window's thread; findings no window is left to take are freed.
DriveWatch::Deliver PostFindingsTo(HWND window);
DriveFindings TakeFindings(LPARAM carried);
