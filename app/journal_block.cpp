#include "app/journal_block.h"

#include <cstdio>

#include "app/ascii_case.h"
#include "app/failure.h"
#include "app/texts.h"
#include "firmware/system_errors.h"

namespace {

constexpr char kEnd[] = "\r\n";

std::string Two(int value) {
  char text[16];
  std::snprintf(text, sizeof(text), "%02d", value);
  return text;
}

std::string Date(const LocalTime& time) {
  return std::to_string(time.year) + "-" + Two(time.month) + "-" + Two(time.day);
}

std::string Bytes(std::uint64_t bytes) { return std::to_string(bytes) + " Б"; }

std::string Ms(std::chrono::milliseconds duration) {
  return std::to_string(duration.count()) + " мс";
}

std::string Error(std::uint32_t error, const SystemErrorDescription& describe) {
  if (error == 0) return "система не назвала причину";
  const std::string text = TrimSystemErrorText(describe(error));
  return SystemErrorName(error) + (text.empty() ? "" : ": " + text);
}

std::string Heading(const std::string& what, const JournalHeading& heading) {
  std::string text = "==== " + what + " — " + FormatLocalTime(heading.time) + " ====" + kEnd;
  text += "Программа: версия " + heading.toolVersion +
          (heading.standIns ? ", ТЕСТОВАЯ СБОРКА с заглушками" : "") + ", SHA-256 набора " +
          heading.setSha256 + kEnd;
  text += "Система: " + WindowsName(heading.windows) + "; машина " + MachineName(heading.machine) +
          ", процесс " + MachineName(heading.process) + kEnd;
  text += "Папка программы: " + heading.toolFolder + kEnd;
  return text;
}

std::string Drive(const std::optional<DriveFacts>& drive) {
  if (!drive) return std::string("Диск: сведений нет") + kEnd;
  char serial[16];
  std::snprintf(serial, sizeof(serial), "%04X-%04X", drive->serial >> 16, drive->serial & 0xFFFF);
  return "Диск: " + drive->root + ", метка «" + drive->label + "», файловая система " +
         drive->fileSystem + ", кластер " + Bytes(drive->clusterBytes) + ", ёмкость " +
         Bytes(drive->capacityBytes) + ", свободно " + Bytes(drive->freeBytes) +
         ", серийный номер " + serial + kEnd;
}

std::string Integrity(const IntegrityVerdict& verdict) {
  switch (verdict.kind) {
    case IntegrityVerdict::Kind::kIntact:
      return std::string("Файл программы: цел") + kEnd;
    case IntegrityVerdict::Kind::kDamaged:
      return std::string("Файл программы: повреждён") + kEnd;
    case IntegrityVerdict::Kind::kUnchecked:
      break;
  }
  return "Файл программы: не проверен, " + verdict.failure + kEnd;
}

// Each box as it was shown: caption, then its text, a line more for each line of its own.
std::string Boxes(const std::vector<Notice>& boxes) {
  std::string text = std::string("Окна:") + kEnd;
  for (const Notice& box : boxes) {
    std::string shown = box.text;
    for (std::size_t at = 0; (at = shown.find("\r\n", at)) != std::string::npos; at += 8)
      shown.replace(at, 2, "\r\n      ");
    text += "  «" + box.caption + "»: " + shown + kEnd;
  }
  return text;
}

std::string Tail(const std::vector<Notice>& boxes, std::chrono::milliseconds duration) {
  return Boxes(boxes) + "Длительность: " + Ms(duration) + kEnd + kEnd;
}

const char* StepName(EntryRecord::Step step) {
  switch (step) {
    case EntryRecord::Step::kStage:
      return "промежуточный файл";
    case EntryRecord::Step::kCopy:
      return "копирование";
    case EntryRecord::Step::kFlush:
      return "сброс на устройство";
    case EntryRecord::Step::kReadBack:
      break;
  }
  return "чтение обратно";
}

std::string EntryLine(const char* name, std::uint64_t bytes, const EntryRecord& entry,
                      const SystemErrorDescription& describe) {
  std::string line = std::string("  ") + name + " (" + Bytes(bytes) + "): ";
  switch (entry.result) {
    case EntryRecord::Result::kNotReached:
      line += "не записывался";
      break;
    case EntryRecord::Result::kIntact:
      line += "записан, прочитан обратно без отличий";
      break;
    case EntryRecord::Result::kDifferent:
      line +=
          "записан, прочитан обратно с отличием с байта " + std::to_string(entry.firstDifference);
      break;
    case EntryRecord::Result::kFailed:
      line += std::string("сбой на шаге «") + StepName(entry.step) + "», " +
              Error(entry.error, describe);
      break;
  }
  if (entry.waited > RunClock::Duration::zero())
    line += "; ожидание программ, державших файл, " +
            Ms(std::chrono::duration_cast<std::chrono::milliseconds>(entry.waited));
  switch (entry.left) {
    case EntryRecord::Left::kNothing:
      break;
    case EntryRecord::Left::kDeleted:
      line += "; удалён";
      break;
    case EntryRecord::Left::kOldFile:
      line += "; прежний файл остался" +
              (entry.leftError ? ", " + Error(entry.leftError, describe) : std::string());
      break;
    case EntryRecord::Left::kWrongFile:
      line += "; НЕ УДАЛЁН, содержимое может быть неверным, " + Error(entry.leftError, describe);
      break;
  }
  return line + kEnd;
}

std::string CheckedLine(const char* name, const CheckedFile& file,
                        const SystemErrorDescription& describe) {
  std::string line = std::string("  ") + name + ": ";
  switch (file.verdict) {
    case CheckedFile::Verdict::kExact:
      line += "совпадает с эталоном";
      break;
    case CheckedFile::Verdict::kDifferent:
      line += "отличается от эталона (" + Bytes(file.bytes) + ")";
      if (file.firstDifference) line += " с байта " + std::to_string(file.firstDifference);
      break;
    case CheckedFile::Verdict::kMissing:
      line += "отсутствует";
      break;
    case CheckedFile::Verdict::kUnreadable:
      line += "не читается, " + Error(file.error, describe);
      break;
  }
  if (file.waited > RunClock::Duration::zero())
    line += "; ожидание программ, державших файл, " +
            Ms(std::chrono::duration_cast<std::chrono::milliseconds>(file.waited));
  if (!file.foundAs.empty()) line += "; на USB-Flash под именем «" + file.foundAs + "»";
  return line + kEnd;
}

}  // namespace

std::string RunBlock(const RunJournal& run, const SystemErrorDescription& describe) {
  std::string text = Heading("Запись прошивки на USB-Flash", run.heading);
  text += "Промежуточные файлы: " + run.stagingFolder + kEnd;
  text += Drive(run.drive);
  if (run.freeAfter) text += "Свободно после записи: " + Bytes(*run.freeAfter) + kEnd;
  text += Integrity(run.integrity);
  if (run.transfer) {
    const std::optional<RoomCheck>& room = run.transfer->room;
    text += room ? "Место: нужно " + Bytes(room->neededBytes) + ", свободно " +
                       Bytes(room->freeBytes) + ", не хватает " + Bytes(room->ShortfallBytes()) +
                       kEnd
                 : std::string("Место: диск не сообщил") + kEnd;
    text += std::string("Файлы:") + kEnd;
    for (std::size_t i = 0; i < kFirmwareSetSize; ++i)
      text += EntryLine(kFirmwareCatalogue[i].fileName, run.payloadBytes.at(i),
                        run.transfer->entries[i], describe);
  }
  return text + Tail(run.boxes, run.duration);
}

std::string CheckBlock(const CheckJournal& check, const SystemErrorDescription& describe) {
  std::string text = Heading("Проверка USB-Flash", check.heading);
  text += Drive(check.drive);
  text += Integrity(check.integrity);
  if (check.check && check.check->unreadable) {
    text += std::string("Файлы: корень диска не читается") + kEnd;
  } else if (check.check) {
    text += std::string("Файлы:") + kEnd;
    for (std::size_t i = 0; i < kFirmwareSetSize; ++i)
      text += CheckedLine(kFirmwareCatalogue[i].fileName, check.check->files[i], describe);
  }
  return text + Tail(check.boxes, check.duration);
}

std::string BoxBlock(const JournalHeading& heading, const Notice& box) {
  return Heading("Сообщение", heading) + Boxes({box}) + kEnd;
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
    case 0x8664:
      return "x64";
    case 0xAA64:
      return "ARM64";
    case 0x014C:
      return "x86";
  }
  char number[16];
  std::snprintf(number, sizeof(number), "0x%04X", machine);
  return number;
}

// Compared without regard to the case of Latin letters, as the system compares paths; a folder
// whose name only begins with the profile's is not the profile.
std::string WithoutProfileFolder(const std::string& path, const std::string& profileFolder) {
  std::string profile = profileFolder;
  while (!profile.empty() && (profile.back() == '\\' || profile.back() == '/')) profile.pop_back();
  if (profile.empty() || path.size() < profile.size() ||
      !SameIgnoringAsciiCase(std::string_view(path).substr(0, profile.size()), profile))
    return path;
  if (path.size() > profile.size() && path[profile.size()] != '\\' && path[profile.size()] != '/')
    return path;
  return "%USERPROFILE%" + path.substr(profile.size());
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
