#include "app/journal.h"

#include <gtest/gtest.h>

#include <chrono>

#include "app/journal_block.h"
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
  };
  for (const auto& c : cases) {
    RunJournal run{Heading(), "%TEMP%\\"};
    run.transfer = TransferResult{RoomCheck{13'500'416, 20'000'000}};
    run.transfer->entries[1] = c.record;
    run.payloadBytes.assign(kFirmwareSetSize, 310);
    const std::string block = RunBlock(run, Describe);
    EXPECT_NE(block.find("\r\n  KQ_rus.rub (310 Б): " + c.line + "\r\n"), std::string::npos)
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

TEST(JournalBlock, NamesTheSystemAndTheUserNot) {
  const std::pair<WindowsVersion, const char*> windows[] = {
      {{6, 1, 7601, "Service Pack 1"}, "Windows 7, 6.1.7601 Service Pack 1"},
      {{6, 3, 9600}, "Windows 8.1, 6.3.9600"},
      {{10, 0, 19045}, "Windows 10, 10.0.19045"},
      {{10, 0, 22000}, "Windows 11, 10.0.22000"},
  };
  for (const auto& [version, name] : windows) EXPECT_EQ(WindowsName(version), name);
  EXPECT_EQ(MachineName(0x014C), "x86");
  EXPECT_EQ(MachineName(0x01C4), "0x01C4");

  const char* profile = "C:\\Users\\Анна";
  const std::pair<const char*, const char*> paths[] = {
      {"C:\\Users\\Анна\\Desktop\\KQ\\", "%USERPROFILE%\\Desktop\\KQ\\"},
      {"c:\\USERS\\Анна\\AppData\\Local\\Temp\\", "%USERPROFILE%\\AppData\\Local\\Temp\\"},
      {"C:\\Users\\Анна", "%USERPROFILE%"},
      {"C:\\Users\\Аннабель\\KQ\\", "C:\\Users\\Аннабель\\KQ\\"},
      {"E:\\", "E:\\"},
  };
  for (const auto& [path, shown] : paths) EXPECT_EQ(WithoutProfileFolder(path, profile), shown);
  EXPECT_EQ(WithoutProfileFolder("D:\\KQ\\", ""), "D:\\KQ\\");

  EXPECT_EQ(FormatLocalTime({2027, 1, 2, 23, 59, 0, -330}), "2027-01-02 23:59:00 UTC-05:30");
  EXPECT_EQ(JournalFileName({2027, 1, 2, 23, 59, 0, -330}), "Журнал KQ 2027-01-02 23-59-00.txt");
}

TEST(Journal, KeepsTheNewestMegabyteInWholeBlocks) {
  Journal journal;
  EXPECT_TRUE(journal.Empty());
  // Eleven blocks of 100 KB: the first goes once the eleventh comes.
  for (char mark = 'a'; mark <= 'k'; ++mark) journal.Append(std::string(100'000, mark));
  std::string text = journal.Text();
  EXPECT_EQ(text.size(), 1'000'000u);
  EXPECT_EQ(text.front(), 'b');
  EXPECT_EQ(text.back(), 'k');
  // A block over the limit on its own is kept, alone.
  journal.Append(std::string(Journal::kLimitBytes + 1, 'z'));
  text = journal.Text();
  EXPECT_EQ(text, std::string(Journal::kLimitBytes + 1, 'z'));
  journal.Append("next");
  EXPECT_EQ(journal.Text(), "next");
  EXPECT_FALSE(journal.Empty());
}

}  // namespace
