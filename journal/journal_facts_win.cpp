#include "journal/journal_facts_win.h"

#include <windows.h>

#include "base/executable_dir_win.h"
#include "base/later_windows_win.h"
#include "base/text_win.h"
#include "journal/journal.h"
#include "journal/user_folders_win.h"

namespace {

// GetVersionEx tells a program without a manifest for the newest Windows an older one; the
// kernel's own answer is the truth.
WindowsVersion WindowsNow() {
  using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto getVersion = reinterpret_cast<RtlGetVersionFunction>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!getVersion || getVersion(&info) != 0) return {};
  return {info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber, Narrow(info.szCSDVersion)};
}

// The machine this file is compiled for: the process's own wherever the system names none.
constexpr std::uint16_t kBuiltFor =
#if defined(__i386__)
    IMAGE_FILE_MACHINE_I386;
#elif defined(__x86_64__)
    IMAGE_FILE_MACHINE_AMD64;
#elif defined(__aarch64__)
    IMAGE_FILE_MACHINE_ARM64;
#else
#error "the journal has no machine number for this target"
#endif

std::pair<std::uint16_t, std::uint16_t> Machines() {
  static const auto isWow64Process2 = LATER_WINDOWS_FUNCTION(L"kernel32.dll", IsWow64Process2);
  USHORT process = IMAGE_FILE_MACHINE_UNKNOWN, native = IMAGE_FILE_MACHINE_UNKNOWN;
  if (isWow64Process2 && isWow64Process2(GetCurrentProcess(), &process, &native))
    return MachinesFromWow64Query(process, native, kBuiltFor);
  SYSTEM_INFO system{};
  GetNativeSystemInfo(&system);
  return MachinesFromNativeArchitecture(system.wProcessorArchitecture, kBuiltFor);
}

// Written at start, before any thread that makes a block is started.
ToolIdentity& Identity() {
  static ToolIdentity identity;
  return identity;
}

}  // namespace

LocalTime LocalTimeNow() {
  FILETIME utc, local;
  GetSystemTimeAsFileTime(&utc);
  FileTimeToLocalFileTime(&utc, &local);
  SYSTEMTIME time{};
  FileTimeToSystemTime(&local, &time);
  const auto ticks = [](const FILETIME& at) {
    return static_cast<long long>((static_cast<unsigned long long>(at.dwHighDateTime) << 32) |
                                  at.dwLowDateTime);
  };
  constexpr long long kTicksPerMinute = 60LL * 10'000'000;
  return {time.wYear,
          time.wMonth,
          time.wDay,
          time.wHour,
          time.wMinute,
          time.wSecond,
          static_cast<int>((ticks(local) - ticks(utc)) / kTicksPerMinute)};
}

void IdentifyTool(ToolIdentity identity) { Identity() = std::move(identity); }

JournalHeading GatherHeading() {
  const auto [machine, process] = Machines();
  const ToolIdentity& tool = Identity();
  return {LocalTimeNow(), tool.version, tool.standIns, tool.setSha256,
          WindowsNow(),   machine,      process,       ExecutableDirectory()};
}

std::optional<DriveFacts> GatherDriveFacts(const std::string& root) {
  const std::wstring path = Widen(root);
  wchar_t label[MAX_PATH + 1] = {}, fileSystem[MAX_PATH + 1] = {};
  DWORD serial = 0, sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
  ULARGE_INTEGER freeToCaller{}, capacity{};
  if (!GetVolumeInformationW(path.c_str(), label, MAX_PATH + 1, &serial, nullptr, nullptr,
                             fileSystem, MAX_PATH + 1) ||
      !GetDiskFreeSpaceW(path.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                         &clusters) ||
      !GetDiskFreeSpaceExW(path.c_str(), &freeToCaller, &capacity, nullptr))
    return std::nullopt;
  return DriveFacts{root,
                    Narrow(label),
                    Narrow(fileSystem),
                    static_cast<std::uint64_t>(sectorsPerCluster) * bytesPerSector,
                    capacity.QuadPart,
                    freeToCaller.QuadPart,
                    serial};
}

void AddToJournal(const std::string& block) {
  static const UserFolders folders = UserFoldersNow();
  ToolJournal().Append(WithoutUserFolders(block, folders, SameFileNames));
}
