#include "drives/drive_source_win.h"

#include <windows.h>

#include <dbt.h>

#include <memory>

#include "base/file_places_win.h"
#include "base/text_win.h"

std::vector<std::string> WinDriveSource::DriveRoots() {
  return ReadDriveStrings([](std::uint32_t capacity, char* buffer) -> std::uint32_t {
    std::wstring wide(capacity, L'\0');
    const DWORD length = GetLogicalDriveStringsW(capacity, wide.data());
    // Drive roots are plain ASCII letters, colon and backslash.
    if (length < capacity) {
      for (DWORD i = 0; i < length; ++i)
        buffer[i] = wide[i] < 0x80 ? static_cast<char>(wide[i]) : '?';
    }
    return length;
  });
}

unsigned WinDriveSource::DriveType(const std::string& root) {
  return GetDriveTypeW(Widen(root).c_str());
}

// An empty card slot answers ERROR_NOT_READY; under Wine, a removable letter whose folder is
// missing answers ERROR_PATH_NOT_FOUND, though its volume information is still given.
bool WinDriveSource::RootAnswers(const std::string& root) { return DriveRootAnswers(root); }

bool IsVolumeArrival(WPARAM event, LPARAM data) {
  const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
  return event == DBT_DEVICEARRIVAL && header && header->dbch_devicetype == DBT_DEVTYP_VOLUME;
}

DriveWatch::Deliver PostFindingsTo(HWND window) {
  return [window](DriveFindings findings) {
    auto carried = std::make_unique<DriveFindings>(std::move(findings));
    if (PostMessageW(window, kDrivesFound, 0, reinterpret_cast<LPARAM>(carried.get())))
      carried.release();
  };
}

DriveFindings TakeFindings(LPARAM carried) {
  const std::unique_ptr<DriveFindings> findings(reinterpret_cast<DriveFindings*>(carried));
  return std::move(*findings);
}
