#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/notice.h"

// A moment on the local clock and how far that clock is from UTC.
struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  int utcOffsetMinutes = 0;
};

// The Windows a block was made on, as RtlGetVersion tells it.
struct WindowsVersion {
  unsigned major = 0, minor = 0, build = 0;
  std::string servicePack = {};
};

// What heads every block: when, which tool, on which system, from which folder.
struct JournalHeading {
  LocalTime time = {};
  std::string toolVersion = {};
  bool standIns = false;
  std::string setSha256 = {};
  WindowsVersion windows = {};
  // IMAGE_FILE_MACHINE_* numbers of the machine and of the tool's process.
  std::uint16_t machine = 0, process = 0;
  std::string toolFolder = {};
};

// A drive as its volume describes itself.
struct DriveFacts {
  std::string root = {};
  std::string label = {};
  std::string fileSystem = {};
  std::uint64_t clusterBytes = 0;
  std::uint64_t capacityBytes = 0;
  std::uint64_t freeBytes = 0;
  std::uint32_t serial = 0;
};

// The system's own text for an error number.
using SystemErrorDescription = std::function<std::string(std::uint32_t)>;

// The end of each line of a block: CRLF, as Notepad on Windows 7 wants it.
inline constexpr char kJournalLineEnd[] = "\r\n";

// The lines that head a block of the kind `what`.
std::string BlockHeading(const std::string& what, const JournalHeading& heading);
// The drive's line, or that nothing is known of it.
std::string DriveLine(const std::optional<DriveFacts>& drive);
// The boxes shown, the time taken and the blank line that ends a block.
std::string BlockTail(const std::vector<Notice>& boxes, std::chrono::milliseconds duration);
// "4096 Б", "12 мс".
std::string JournalBytes(std::uint64_t bytes);
std::string JournalMilliseconds(std::chrono::milliseconds duration);
// The error's name and the system's text for it.
std::string JournalError(std::uint32_t error, const SystemErrorDescription& describe);

// A box shown outside a run or a check, a list of changes not shown among them.
std::string BoxBlock(const JournalHeading& heading, const Notice& box);

// "2026-12-08 14:03:12 UTC+03:00".
std::string FormatLocalTime(const LocalTime& time);
// "Windows 11, 10.0.22631".
std::string WindowsName(const WindowsVersion& windows);
// "x64", "ARM64", "x86", or the number where it is none of them.
std::string MachineName(std::uint16_t machine);
// The machine and the tool's process (IMAGE_FILE_MACHINE_* numbers) from what the system answers:
// IsWow64Process2's process and native machines where the system has it, or else the processor
// architecture GetNativeSystemInfo gives (PROCESSOR_ARCHITECTURE_*). builtFor: the machine the
// tool was compiled for.
std::pair<std::uint16_t, std::uint16_t> MachinesFromWow64Query(std::uint16_t process,
                                                               std::uint16_t native,
                                                               std::uint16_t builtFor);
std::pair<std::uint16_t, std::uint16_t> MachinesFromNativeArchitecture(std::uint16_t architecture,
                                                                       std::uint16_t builtFor);
// A folder of the user's whose path may name him, in each form the system may spell it in (its
// long and its short name), and what the journal writes in its place.
struct UserFolder {
  std::string name;
  std::vector<std::string> forms;
};
// The user's profile, written as %USERPROFILE%, and his other folders (the Desktop, Temp ...).
struct UserFolders {
  std::vector<std::string> profile;
  std::vector<UserFolder> others;
};
// Whether two names, or paths, of the same length in bytes are the same to the file system.
using FileNameComparison = std::function<bool(std::string_view, std::string_view)>;
// The text with every mention of the user's profile written as %USERPROFILE%, and of each other
// folder of his that lies outside the profile (a Desktop redirected to a share) as its own name,
// so that a journal sent to support names no user. A folder inside the profile is written from
// there: %USERPROFILE%\Desktop.
std::string WithoutUserFolders(std::string text, const UserFolders& folders,
                               const FileNameComparison& same);
// The file the journal is saved to: "Журнал KQ 2026-12-08 14-03-12.txt".
std::string JournalFileName(const LocalTime& time);

// The boxes of the journal's menu item: nothing to save yet; saved where no program opens it;
// not saved, with the system's reason.
Notice JournalEmptyNotice();
Notice JournalSavedNotice(const std::string& path);
Notice JournalNotSavedNotice(const std::string& path, const std::string& reason);
