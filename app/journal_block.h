#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/notice.h"
#include "firmware/integrity.h"
#include "firmware/stick_check.h"
#include "firmware/transfer.h"

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

// Everything a block of a write run tells.
struct RunJournal {
  JournalHeading heading = {};
  std::string stagingFolder = {};
  std::optional<DriveFacts> drive = std::nullopt;  // before the run
  std::optional<std::uint64_t> freeAfter = std::nullopt;
  IntegrityVerdict integrity = {};
  // Nothing when a failure stopped the run before it looked at the drive.
  std::optional<TransferResult> transfer = std::nullopt;
  std::vector<std::uint64_t> payloadBytes = {};  // catalogue order
  std::vector<Notice> boxes = {};
  std::chrono::milliseconds duration{};
};

// Everything a block of a check of a stick tells.
struct CheckJournal {
  JournalHeading heading = {};
  std::optional<DriveFacts> drive = std::nullopt;
  IntegrityVerdict integrity = {};
  // Nothing when a failure stopped the check before it looked at the drive.
  std::optional<StickCheck> check = std::nullopt;
  std::vector<Notice> boxes = {};
  std::chrono::milliseconds duration{};
};

// The system's own text for an error number.
using SystemErrorDescription = std::function<std::string(std::uint32_t)>;

std::string RunBlock(const RunJournal& run, const SystemErrorDescription& describe);
std::string CheckBlock(const CheckJournal& check, const SystemErrorDescription& describe);
// A box shown outside a run or a check, a list of changes not shown among them.
std::string BoxBlock(const JournalHeading& heading, const Notice& box);

// "2026-12-08 14:03:12 UTC+03:00".
std::string FormatLocalTime(const LocalTime& time);
// "Windows 11, 10.0.22631".
std::string WindowsName(const WindowsVersion& windows);
// "x64", "ARM64", "x86", or the number where it is none of them.
std::string MachineName(std::uint16_t machine);
// The path with the user's profile folder written as %USERPROFILE%, so that a journal sent to
// support names no user.
std::string WithoutProfileFolder(const std::string& path, const std::string& profileFolder);
// The file the journal is saved to: "Журнал KQ 2026-12-08 14-03-12.txt".
std::string JournalFileName(const LocalTime& time);

// The boxes of the journal's menu item: nothing to save yet; saved where no program opens it;
// not saved, with the system's reason.
Notice JournalEmptyNotice();
Notice JournalSavedNotice(const std::string& path);
Notice JournalNotSavedNotice(const std::string& path, const std::string& reason);
