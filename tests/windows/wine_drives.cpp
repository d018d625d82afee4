#include "wine_drives.h"

#include <windows.h>

#include <dbt.h>
#include <winioctl.h>

#include <cstring>
#include <cwctype>
#include <vector>

namespace {

struct MountRequest {
  ULONG size, type, fs_type;
  DWORD serial;
  ULONGLONG unix_dev;
  WCHAR letter;
  USHORT mount_point_offset, device_offset, label_offset;
};

}  // namespace

bool DefineWineDrive(wchar_t letter, unsigned driveType, const std::string& unixPath) {
  std::vector<char> request(sizeof(MountRequest) + unixPath.size() + 1, 0);
  auto* header = reinterpret_cast<MountRequest*>(request.data());
  header->size = static_cast<ULONG>(request.size());
  header->type = unixPath.empty() ? DRIVE_NO_ROOT_DIR : driveType;
  header->letter = letter;
  if (!unixPath.empty()) {
    header->mount_point_offset = sizeof(MountRequest);
    std::memcpy(request.data() + sizeof(MountRequest), unixPath.c_str(), unixPath.size());
  }
  HANDLE manager =
      CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (manager == INVALID_HANDLE_VALUE) return false;
  const DWORD kDefineUnixDrive =
      CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
  DWORD returned = 0;
  const BOOL done = DeviceIoControl(manager, kDefineUnixDrive, request.data(), header->size,
                                    nullptr, 0, &returned, nullptr);
  CloseHandle(manager);
  return done != FALSE;
}

std::string WineUnixPath(const std::wstring& windowsPath) {
  using Convert = char*(CDECL*)(const WCHAR*);
  const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  char* unixPath = convert ? convert(windowsPath.c_str()) : nullptr;
  if (!unixPath) return "";
  std::string result(unixPath);
  HeapFree(GetProcessHeap(), 0, unixPath);
  return result;
}

void AnnounceVolume(wchar_t letter, bool arrived) {
  DEV_BROADCAST_VOLUME volume{};
  volume.dbcv_size = sizeof(volume);
  volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
  volume.dbcv_unitmask = 1u << (towupper(letter) - L'A');
  DWORD recipients = BSM_APPLICATIONS;
  BroadcastSystemMessageW(BSF_FORCEIFHUNG | BSF_QUERY, &recipients, WM_DEVICECHANGE,
                          arrived ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE,
                          reinterpret_cast<LPARAM>(&volume));
}
