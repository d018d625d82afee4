#include "journal/journal_block.h"

#include <algorithm>
#include <cstdio>

#include "base/failure.h"
#include "base/system_error_names.h"
#include "base/texts.h"

namespace {

constexpr std::uint16_t kMachineX86 = 0x014C, kMachineX64 = 0x8664, kMachineArm64 = 0xAA64;

std::string Two(int value) {
  char text[16];
  std::snprintf(text, sizeof(text), "%02d", value);
  return text;
}

std::string Date(const LocalTime& time) {
  return std::to_string(time.year) + "-" + Two(time.month) + "-" + Two(time.day);
}

// Each box as it was shown: caption, then its text, a line more for each line of its own.
std::string Boxes(const std::vector<Notice>& boxes) {
  std::string text = std::string("Окна:") + kJournalLineEnd;
  for (const Notice& box : boxes) {
    std::string shown = box.text;
    for (std::size_t at = 0; (at = shown.find("\r\n", at)) != std::string::npos; at += 8)
      shown.replace(at, 2, "\r\n      ");
    text += "  «" + box.caption + "»: " + shown + kJournalLineEnd;
  }
  return text;
}

}  // namespace

std::string BlockHeading(const std::string& what, const JournalHeading& heading) {
  std::string text =
      "==== " + what + " — " + FormatLocalTime(heading.time) + " ====" + kJournalLineEnd;
  text += "Программа: версия " + heading.toolVersion +
          (heading.standIns ? ", ТЕСТОВАЯ СБОРКА с заглушками" : "") + ", SHA-256 набора " +
          heading.setSha256 + kJournalLineEnd;
  text += "Система: " + WindowsName(heading.windows) + "; машина " + MachineName(heading.machine) +
          ", процесс " + MachineName(heading.process) + kJournalLineEnd;
  text += "Папка программы: " + heading.toolFolder + kJournalLineEnd;
  return text;
}

std::string DriveLine(const std::optional<DriveFacts>& drive) {
  if (!drive) return std::string("Диск: сведений нет") + kJournalLineEnd;
  char serial[16];
  std::snprintf(serial, sizeof(serial), "%04X-%04X", drive->serial >> 16, drive->serial & 0xFFFF);
  return "Диск: " + drive->root + ", метка «" + drive->label + "», файловая система " +
         drive->fileSystem + ", кластер " + JournalBytes(drive->clusterBytes) + ", ёмкость " +
         JournalBytes(drive->capacityBytes) + ", свободно " + JournalBytes(drive->freeBytes) +
         ", серийный номер " + serial + kJournalLineEnd;
}

std::string BlockTail(const std::vector<Notice>& boxes, std::chrono::milliseconds duration) {
  return Boxes(boxes) + "Длительность: " + JournalMilliseconds(duration) + kJournalLineEnd +
         kJournalLineEnd;
}

std::string JournalBytes(std::uint64_t bytes) { return std::to_string(bytes) + " Б"; }

std::string JournalMilliseconds(std::chrono::milliseconds duration) {
  return std::to_string(duration.count()) + " мс";
}

std::string JournalError(std::uint32_t error, const SystemErrorDescription& describe) {
  if (error == 0) return "система не назвала причину";
  const std::string text = TrimSystemErrorText(describe(error));
  return SystemErrorName(error) + (text.empty() ? "" : ": " + text);
}

std::string BoxBlock(const JournalHeading& heading, const Notice& box) {
  return BlockHeading("Сообщение", heading) + Boxes({box}) + kJournalLineEnd;
}

std::string FormatLocalTime(const LocalTime& time) {
  const int offset = time.utcOffsetMinutes < 0 ? -time.utcOffsetMinutes : time.utcOffsetMinutes;
  return Date(time) + " " + Two(time.hour) + ":" + Two(time.minute) + ":" + Two(time.second) +
         " UTC" + (time.utcOffsetMinutes < 0 ? "-" : "+") + Two(offset / 60) + ":" +
         Two(offset % 60);
}

// Windows 11 calls itself 10.0 still; only its build tells it apart.
std::string WindowsName(const WindowsVersion& windows) {
  const unsigned version = windows.major * 100 + windows.minor;
  const char* name = version == 601    ? "Windows 7"
                     : version == 602  ? "Windows 8"
                     : version == 603  ? "Windows 8.1"
                     : version == 1000 ? (windows.build >= 22000 ? "Windows 11" : "Windows 10")
                                       : "Windows";
  std::string text = std::string(name) + ", " + std::to_string(windows.major) + "." +
                     std::to_string(windows.minor) + "." + std::to_string(windows.build);
  if (!windows.servicePack.empty()) text += " " + windows.servicePack;
  return text;
}

std::string MachineName(std::uint16_t machine) {
  switch (machine) {
    case kMachineX64:
      return "x64";
    case kMachineArm64:
      return "ARM64";
    case kMachineX86:
      return "x86";
  }
  char number[16];
  std::snprintf(number, sizeof(number), "0x%04X", machine);
  return number;
}

// IsWow64Process2 names the process's machine only for a WOW64 process, an x86 one on x64 or ARM64
// Windows; a process it does not count as WOW64 runs as it was built: natively, or as an x64
// program emulated on ARM64.
std::pair<std::uint16_t, std::uint16_t> MachinesFromWow64Query(std::uint16_t process,
                                                               std::uint16_t native,
                                                               std::uint16_t builtFor) {
  return {native, process == 0 ? builtFor : process};
}

// Before IsWow64Process2 (Windows 10 version 1709) no Windows emulated another processor: the
// process runs as it was built, and GetNativeSystemInfo tells a WOW64 process the machine under it.
std::pair<std::uint16_t, std::uint16_t> MachinesFromNativeArchitecture(std::uint16_t architecture,
                                                                       std::uint16_t builtFor) {
  constexpr std::uint16_t kArchitectureX86 = 0, kArchitectureX64 = 9, kArchitectureArm64 = 12;
  const std::uint16_t machine = architecture == kArchitectureX86     ? kMachineX86
                                : architecture == kArchitectureX64   ? kMachineX64
                                : architecture == kArchitectureArm64 ? kMachineArm64
                                                                     : builtFor;
  return {machine, builtFor};
}

namespace {

// What no name holds: a folder's name ends where one of them, or the text, follows it.
constexpr std::string_view kNoNameHolds = "\\/:*?\"<>|\r\n\t";

bool NameEndsAt(std::string_view text, std::size_t at) {
  return at == text.size() || kNoNameHolds.find(text[at]) != std::string_view::npos;
}

std::string WithoutTrailingSeparators(std::string path) {
  while (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  return path;
}

// Whether the path is the folder or lies within it.
bool Within(std::string_view path, std::string_view folder, const FileNameComparison& same) {
  return !folder.empty() && path.size() >= folder.size() && NameEndsAt(path, folder.size()) &&
         same(path.substr(0, folder.size()), folder);
}

}  // namespace

// Compared as the file system compares names, whose case it folds in every script. A mention
// counts only where a name must end after it (a separator, a quote, the end of a line or of the
// text): a folder whose name only begins with the profile's, "Анна Петрова" beside "Анна", is not
// the profile. The longer form goes first, so that no form is replaced inside another.
std::string WithoutUserFolders(std::string text, const UserFolders& folders,
                               const FileNameComparison& same) {
  std::vector<std::string> profile;
  for (const std::string& form : folders.profile)
    profile.push_back(WithoutTrailingSeparators(form));
  std::vector<std::pair<std::string, std::string_view>> replaced;
  for (const std::string& form : profile) replaced.emplace_back(form, "%USERPROFILE%");
  for (const UserFolder& folder : folders.others) {
    std::vector<std::string> forms;
    for (const std::string& form : folder.forms) forms.push_back(WithoutTrailingSeparators(form));
    const bool inProfile = std::any_of(forms.begin(), forms.end(), [&](const std::string& form) {
      return std::any_of(profile.begin(), profile.end(),
                         [&](const std::string& home) { return Within(form, home, same); });
    });
    if (!inProfile)
      for (const std::string& form : forms) replaced.emplace_back(form, folder.name);
  }
  std::stable_sort(replaced.begin(), replaced.end(),
                   [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
  for (const auto& [form, name] : replaced) {
    if (form.empty()) continue;
    for (std::size_t at = 0; at + form.size() <= text.size(); ++at) {
      // Not inside a letter's bytes, and ending where a name does.
      if ((static_cast<unsigned char>(text[at]) & 0xC0) == 0x80 ||
          !NameEndsAt(text, at + form.size()) ||
          !same(std::string_view(text).substr(at, form.size()), form))
        continue;
      text.replace(at, form.size(), name);
      at += name.size() - 1;
    }
  }
  return text;
}

std::string JournalFileName(const LocalTime& time) {
  return "Журнал KQ " + Date(time) + " " + Two(time.hour) + "-" + Two(time.minute) + "-" +
         Two(time.second) + ".txt";
}

Notice JournalEmptyNotice() {
  return {kJournalEmptyText, kApplicationTitle, NoticeIcon::kInformation};
}

Notice JournalSavedNotice(const std::string& path) {
  return {FillText(kJournalSavedText, {path}), kApplicationTitle, NoticeIcon::kInformation};
}

Notice JournalNotSavedNotice(const std::string& path, const std::string& reason) {
  return {FillText(kJournalNotSavedText, {path, TrimSystemErrorText(reason)}), kApplicationTitle,
          NoticeIcon::kInformation};
}
