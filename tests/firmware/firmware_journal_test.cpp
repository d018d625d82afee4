#include "firmware/firmware_journal.h"

#include <gtest/gtest.h>

#include <chrono>

#include "firmware/system_errors.h"

namespace {

using namespace std::chrono_literals;
using Result = EntryRecord::Result;
using Step = EntryRecord::Step;
using Left = EntryRecord::Left;

std::string Describe(std::uint32_t error) {
  return error == kErrorSharingViolation ? "The process cannot access the file.\r\n" : "";
}

JournalHeading Heading() {
  return {{2026, 12, 8, 9, 5, 7, 180},   "6.49.0.0", true, "993dd7", {10, 0, 22631}, 0xAA64, 0x8664,
          "%USERPROFILE%\\Desktop\\KQ\\"};
}

TEST(JournalBlock, TellsEveryOutcomeOfEveryEntry) {
  const struct {
    EntryRecord record;
    std::string line;  // after "  KQ_rus.rub (310 Б): "
  } cases[] = {
      {{}, "не записывался"},
      {{Result::kIntact}, "записан, прочитан обратно без отличий"},
      {{Result::kDifferent, Step::kStage, 0, 238912, {}, Left::kDeleted},
       "записан, прочитан обратно с отличием с байта 238912; удалён"},
      {{Result::kFailed, Step::kCopy, kErrorSharingViolation, 0, 2s, Left::kOldFile,
        kErrorSharingViolation},
       "сбой на шаге «копирование», ERROR_SHARING_VIOLATION (32): The process cannot access the "
       "file; ожидание программ, державших файл, 2000 мс; прежний файл остался, "
       "ERROR_SHARING_VIOLATION (32): The process cannot access the file"},
      {{Result::kFailed, Step::kStage, 9999}, "сбой на шаге «промежуточный файл», 9999"},
      {{Result::kFailed, Step::kFlush, 0, 0, 12ms, Left::kDeleted},
       "сбой на шаге «сброс на устройство», система не назвала причину; ожидание программ, "
       "державших файл, 12 мс; удалён"},
      {{Result::kDifferent, Step::kStage, 0, 0, {}, Left::kWrongFile, 1117},
       "записан, прочитан обратно с отличием с байта 0; НЕ УДАЛЁН, содержимое может быть "
       "неверным, ERROR_IO_DEVICE (1117)"},
      {{Result::kFailed, Step::kReadBack, kErrorDiskFull},
       "сбой на шаге «чтение обратно», "
       "ERROR_DISK_FULL (112)"},
      {{Result::kFailed, Step::kReadBack, 1117, 0, {}, Left::kUnconfirmed, 1117},
       "сбой на шаге «чтение обратно», ERROR_IO_DEVICE (1117); не удалось удалить или "
       "проверить, ERROR_IO_DEVICE (1117)"},
  };
  for (const auto& c : cases) {
    RunJournal run{Heading(), "%TEMP%\\"};
    run.transfer = TransferResult{RoomCheck{13'500'416, 20'000'000}};
    run.transfer->entries[1] = c.record;
    run.transfer->stagingLeft = {{"D:\\KQ\\~KQ77-2.tmp", kErrorSharingViolation}};
    run.payloadBytes.assign(kFirmwareSetSize, 310);
    const std::string block = RunBlock(run, Describe);
    EXPECT_NE(block.find("\r\n  KQ_rus.rub (310 Б): " + c.line + "\r\n"), std::string::npos)
        << block;
    EXPECT_NE(block.find("\r\n  KQSAME.lng (310 Б): не записывался\r\nПромежуточный файл не "
                         "удалён: D:\\KQ\\~KQ77-2.tmp, ERROR_SHARING_VIOLATION (32): The "
                         "process cannot access the file\r\n"),
              std::string::npos)
        << block;
  }
}

TEST(JournalBlock, HeadsEachBlockWithTheMachineAndEndsItWithTheBoxesShown) {
  RunJournal run{
      Heading(), "%TEMP%\\",
      DriveFacts{"E:\\", "KINGSTON", "FAT32", 4096, 8'000'000'000, 7'000'000, 0x1A2B3C4D},
      6'000'000};
  run.integrity = {IntegrityVerdict::Kind::kUnchecked, "Cannot load library bcrypt.dll"};
  run.boxes = {
      {"Ошибка записи на \"E:\\\"\r\nФайл KQ_kaz.kzt …", "Ошибка записи", NoticeIcon::kError}};
  run.duration = 4215ms;
  EXPECT_EQ(RunBlock(run, Describe),
            "==== Запись прошивки на USB-Flash — 2026-12-08 09:05:07 UTC+03:00 ====\r\n"
            "Программа: версия 6.49.0.0, ТЕСТОВАЯ СБОРКА с заглушками, SHA-256 набора 993dd7\r\n"
            "Система: Windows 11, 10.0.22631; машина ARM64, процесс x64\r\n"
            "Папка программы: %USERPROFILE%\\Desktop\\KQ\\\r\n"
            "Промежуточные файлы: %TEMP%\\\r\n"
            "Диск: E:\\, метка «KINGSTON», файловая система FAT32, кластер 4096 Б, ёмкость "
            "8000000000 Б, свободно 7000000 Б, серийный номер 1A2B-3C4D\r\n"
            "Свободно после записи: 6000000 Б\r\n"
            "Файл программы: не проверен, Cannot load library bcrypt.dll\r\n"
            "Окна:\r\n"
            "  «Ошибка записи»: Ошибка записи на \"E:\\\"\r\n"
            "      Файл KQ_kaz.kzt …\r\n"
            "Длительность: 4215 мс\r\n\r\n");

  CheckJournal check{Heading()};
  check.check = StickCheck{};
  check.check->files[0] = {CheckedFile::Verdict::kExact, "kq1769_M.dat"};
  check.check->files[2] = {CheckedFile::Verdict::kDifferent, "", 477500, 1024};
  check.check->files[3] = {
      CheckedFile::Verdict::kUnreadable, "", 477500, 0, kErrorSharingViolation, 2s};
  const std::string block = CheckBlock(check, Describe);
  for (const char* line :
       {"\r\n  KQ1769_m.dat: совпадает с эталоном; на USB-Flash под именем «kq1769_M.dat»\r\n",
        "\r\n  KQ_rus.rub: отсутствует\r\n",
        "\r\n  KQ_kaz.kzt: отличается от эталона (477500 Б) с байта 1024\r\n",
        "\r\n  KQ_rus.kzt: не читается, ERROR_SHARING_VIOLATION (32): The process cannot access "
        "the "
        "file; ожидание программ, державших файл, 2000 мс\r\n",
        "Диск: сведений нет\r\n"})
    EXPECT_NE(block.find(line), std::string::npos) << line << "\n" << block;
  EXPECT_EQ(block.rfind("==== Проверка USB-Flash — 2026-12-08 09:05:07 UTC+03:00 ====\r\n", 0), 0u);
  const std::string box = BoxBlock(Heading(), {"Невозможно …", "Ошибка", NoticeIcon::kError});
  EXPECT_EQ(box.rfind("==== Сообщение — 2026-12-08 09:05:07 UTC+03:00 ====\r\n", 0), 0u);
  EXPECT_TRUE(box.ends_with("\r\nОкна:\r\n  «Ошибка»: Невозможно …\r\n\r\n")) << box;
}

}  // namespace
