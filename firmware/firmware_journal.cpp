#include "firmware/firmware_journal.h"

namespace {

std::string Integrity(const IntegrityVerdict& verdict) {
  switch (verdict.kind) {
    case IntegrityVerdict::Kind::kIntact:
      return std::string("Файл программы: цел") + kJournalLineEnd;
    case IntegrityVerdict::Kind::kDamaged:
      return std::string("Файл программы: повреждён") + kJournalLineEnd;
    case IntegrityVerdict::Kind::kUnchecked:
      break;
  }
  return "Файл программы: не проверен, " + verdict.failure + kJournalLineEnd;
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
  std::string line = std::string("  ") + name + " (" + JournalBytes(bytes) + "): ";
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
              JournalError(entry.error, describe);
      break;
  }
  if (entry.waited > RunClock::Duration::zero())
    line +=
        "; ожидание программ, державших файл, " +
        JournalMilliseconds(std::chrono::duration_cast<std::chrono::milliseconds>(entry.waited));
  switch (entry.left) {
    case EntryRecord::Left::kNothing:
      break;
    case EntryRecord::Left::kDeleted:
      line += "; удалён";
      break;
    case EntryRecord::Left::kOldFile:
      line += "; прежний файл остался" +
              (entry.leftError ? ", " + JournalError(entry.leftError, describe) : std::string());
      break;
    case EntryRecord::Left::kWrongFile:
      line +=
          "; НЕ УДАЛЁН, содержимое может быть неверным, " + JournalError(entry.leftError, describe);
      break;
    case EntryRecord::Left::kUnconfirmed:
      line += "; не удалось удалить или проверить, " + JournalError(entry.leftError, describe);
      break;
  }
  return line + kJournalLineEnd;
}

std::string CheckedLine(const char* name, const CheckedFile& file,
                        const SystemErrorDescription& describe) {
  std::string line = std::string("  ") + name + ": ";
  switch (file.verdict) {
    case CheckedFile::Verdict::kExact:
      line += "совпадает с эталоном";
      break;
    case CheckedFile::Verdict::kDifferent:
      line += "отличается от эталона (" + JournalBytes(file.bytes) + ")";
      if (file.firstDifference) line += " с байта " + std::to_string(file.firstDifference);
      break;
    case CheckedFile::Verdict::kMissing:
      line += "отсутствует";
      break;
    case CheckedFile::Verdict::kUnreadable:
      line += "не читается, " + JournalError(file.error, describe);
      break;
  }
  if (file.waited > RunClock::Duration::zero())
    line += "; ожидание программ, державших файл, " +
            JournalMilliseconds(std::chrono::duration_cast<std::chrono::milliseconds>(file.waited));
  if (!file.foundAs.empty()) line += "; на USB-Flash под именем «" + file.foundAs + "»";
  return line + kJournalLineEnd;
}

}  // namespace

std::string RunBlock(const RunJournal& run, const SystemErrorDescription& describe) {
  std::string text = BlockHeading("Запись прошивки на USB-Flash", run.heading);
  text += "Промежуточные файлы: " + run.stagingFolder + kJournalLineEnd;
  text += DriveLine(run.drive);
  if (run.freeAfter)
    text += "Свободно после записи: " + JournalBytes(*run.freeAfter) + kJournalLineEnd;
  text += Integrity(run.integrity);
  if (run.transfer) {
    const std::optional<RoomCheck>& room = run.transfer->room;
    text += room ? "Место: нужно " + JournalBytes(room->neededBytes) + ", свободно " +
                       JournalBytes(room->freeBytes) + ", не хватает " +
                       JournalBytes(room->ShortfallBytes()) + kJournalLineEnd
                 : std::string("Место: диск не сообщил") + kJournalLineEnd;
    text += std::string("Файлы:") + kJournalLineEnd;
    for (std::size_t i = 0; i < kFirmwareSetSize; ++i)
      text += EntryLine(kFirmwareCatalogue[i].fileName, run.payloadBytes.at(i),
                        run.transfer->entries[i], describe);
    if (run.transfer->driveStoppedAnswering)
      text +=
          std::string("Диск перестал отвечать: остальные файлы не записывались") + kJournalLineEnd;
    for (const StagingFileLeft& left : run.transfer->stagingLeft)
      text += "Промежуточный файл не удалён: " + left.path + ", " +
              JournalError(left.error, describe) + kJournalLineEnd;
  }
  return text + BlockTail(run.boxes, run.duration);
}

std::string CheckBlock(const CheckJournal& check, const SystemErrorDescription& describe) {
  std::string text = BlockHeading("Проверка USB-Flash", check.heading);
  text += DriveLine(check.drive);
  text += Integrity(check.integrity);
  if (check.check && check.check->unreadable) {
    text += std::string("Файлы: корень диска не читается") + kJournalLineEnd;
  } else if (check.check) {
    text += std::string("Файлы:") + kJournalLineEnd;
    for (std::size_t i = 0; i < kFirmwareSetSize; ++i)
      text += CheckedLine(kFirmwareCatalogue[i].fileName, check.check->files[i], describe);
  }
  return text + BlockTail(check.boxes, check.duration);
}
