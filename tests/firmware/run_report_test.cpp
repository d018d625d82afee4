#include "firmware/run_report.h"

#include <gtest/gtest.h>

#include <functional>

#include "base/system_error_names.h"

namespace {

TEST(FirmwareRunReport, CompleteSetShowsSuccessThenTheWarning) {
  const std::vector<Notice> boxes = FirmwareRunReport({"E:\\", 30});
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0], (Notice{"Файлы прошивки успешно сохранены на \"E:\\\"", "Процесс завершен",
                              NoticeIcon::kNone}));
  EXPECT_EQ(boxes[1], (Notice{"ВНИМАНИЕ! Перед прошивкой рекомендуется отключить от терминала все "
                              "подключенные кабели и устройства, кроме адаптера питания!",
                              "Предупреждение", NoticeIcon::kWarning}));
  EXPECT_EQ(static_cast<unsigned>(boxes[0].icon), 0x00u);
  EXPECT_EQ(static_cast<unsigned>(boxes[1].icon), 0x30u);
}

TEST(FirmwareRunReport, AnyMissingCopyIsAWriteErrorNamingTheDrive) {
  for (int copied : {29, 1, 0}) {
    const std::vector<Notice> boxes = FirmwareRunReport({"F:\\", copied});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], (Notice{"Ошибка записи на \"F:\\\"", "Ошибка записи", NoticeIcon::kError}));
  }
}

TEST(FirmwareRunReport, DriveWithoutRoomIsOneErrorBoxSayingWhatItLacks) {
  EXPECT_EQ(FirmwareRunReport({"E:\\", 0, 5'800'000}),
            (std::vector<Notice>{{"Недостаточно места на \"E:\\\": не хватает 5,6 МБ. Прошивка не "
                                  "записана, файлы на USB-Flash не изменены.",
                                  "Ошибка записи", NoticeIcon::kError}}));
}

TEST(FirmwareRunReport, FilesThatCouldNotBeDeletedAreNamedInASecondLine) {
  const std::string line =
      "Файл KQ_kaz.kzt на USB-Flash не удалось удалить, его содержимое может "
      "быть неверным. Удалите его вручную, прежде чем прошивать терминал.";
  const std::string lines =
      " на USB-Flash не удалось удалить, их содержимое может быть неверным. "
      "Удалите их вручную, прежде чем прошивать терминал.";
  const struct {
    std::vector<std::string> names;
    std::string text;
  } lists[] = {
      {{"KQ_kaz.kzt"}, line},
      {{"KQ_kaz.kzt", "KQS_geo.gel"}, "Файлы KQ_kaz.kzt, KQS_geo.gel" + lines},
      {{"KQ_kaz.kzt", "KQ_rus.kzt", "KQ_eng.eur", "KQ_lva.eur", "KQSAME.lng"},
       "Файлы KQ_kaz.kzt, KQ_rus.kzt, KQ_eng.eur и ещё 2" + lines},
  };
  for (const auto& list : lists) EXPECT_EQ(UndeletableFilesLine(list.names), list.text);

  // Whatever box closes the run keeps its first line.
  const Notice stopped{"Stream write error.", "Загрузочный модуль KQ", NoticeIcon::kError};
  const struct {
    FirmwareRunOutcome outcome;
    Notice box;
  } runs[] = {
      {{"E:\\", 29, 0, false, {"KQ_kaz.kzt"}},
       {"Ошибка записи на \"E:\\\"\r\n" + line, "Ошибка записи", NoticeIcon::kError}},
      {{"E:\\", 12, 0, true, {"KQ_kaz.kzt"}},
       {"Недостаточно места на \"E:\\\": прошивка записана не полностью. Освободите место на "
        "USB-Flash и запишите прошивку заново.\r\n" +
            line,
        "Ошибка записи", NoticeIcon::kError}},
      {{"E:\\", 3, 0, false, {"KQ_kaz.kzt"}, stopped},
       {"Stream write error.\r\n" + line, "Загрузочный модуль KQ", NoticeIcon::kError}},
  };
  for (const auto& run : runs) {
    EXPECT_EQ(FirmwareRunReport(run.outcome), std::vector<Notice>{run.box});
    EXPECT_FALSE(run.outcome.Succeeded());
  }
  // A full stick is told as such even when nothing else went wrong.
  EXPECT_EQ(FirmwareRunReport({"F:\\", 29, 0, true}).front().text,
            "Недостаточно места на \"F:\\\": прошивка записана не полностью. Освободите место на "
            "USB-Flash и запишите прошивку заново.");
}

// The second line of a write-error box comes from the run's own record: the cause, in order where
// several apply, and what the stick holds now; a cause the record does not tell keeps the box as
// it was.
TEST(FirmwareRunReport, AWriteErrorSaysItsCauseWhatIsLeftAndWhereToReadMore) {
  using Result = EntryRecord::Result;
  using Step = EntryRecord::Step;
  const auto failedCopy = [](std::uint32_t error) {
    return EntryRecord{Result::kFailed, Step::kCopy, error};
  };
  const std::string unchanged = " Прошивка не записана, файлы на USB-Flash не изменены.";
  const std::string incomplete =
      " На USB-Flash неполный набор прошивки: не используйте его в терминале.";
  const std::string journal =
      "\r\nПодробности — в журнале: меню окна (Alt+Пробел) → «Открыть журнал».";
  const std::string refused =
      "Запись на USB-Flash запрещена на этом компьютере (политика или антивирус): запишите "
      "прошивку на другом компьютере.";
  const std::string gone =
      "USB-Flash отключён или перестал отвечать: подключите его снова или возьмите другой.";
  const std::string held =
      "Файл на USB-Flash занят другой программой: закройте её и запишите прошивку заново.";
  const std::string different =
      "Записанные файлы прочитались с USB-Flash с отличиями: он неисправен или поддельный, "
      "возьмите другой.";
  const struct {
    const char* what;
    std::function<void(TransferResult&)> record;
    std::string secondLines;  // after "Ошибка записи на "E:\""
  } cases[] = {
      {"nothing begun, every copy refused",
       [&](TransferResult& r) { r.entries.fill(failedCopy(kErrorAccessDenied)); },
       "\r\n" + refused + unchanged + journal},
      {"stick gone after two files, the third begun",
       [&](TransferResult& r) {
         r.entries[0] = r.entries[1] = EntryRecord{Result::kIntact};
         r.entries[0].began = r.entries[1].began = true;
         r.entries[2] = failedCopy(kErrorNotReady);
         r.entries[2].began = true;
         r.entries[2].left = EntryRecord::Left::kUnconfirmed;
         r.driveStoppedAnswering = true;
       },
       "\r\n" + gone + incomplete +
           "\r\nФайл KQ_kaz.kzt на USB-Flash не удалось удалить, его содержимое может быть "
           "неверным. Удалите его вручную, прежде чем прошивать терминал." +
           journal},
      {"one file read back different, and deleted",
       [&](TransferResult& r) {
         r.entries[4] = EntryRecord{Result::kDifferent, Step::kStage, 0, 17};
         r.entries[4].began = true;
         r.entries[4].left = EntryRecord::Left::kDeleted;
       },
       "\r\n" + different + incomplete + journal},
      {"a read-only old file under a firmware name kept: no refusal, a cause not told",
       [&](TransferResult& r) {
         r.entries[4] = failedCopy(kErrorAccessDenied);
         r.entries[4].foundReadOnly = true;
         r.entries[4].left = EntryRecord::Left::kOldFile;
       },
       ""},
      {"old files deleted, then a copy refused",
       [&](TransferResult& r) {
         r.entries[0] = failedCopy(kErrorAccessDenied);
         r.entries[0].oldDeleted = true;
       },
       "\r\n" + refused + incomplete + journal},
      {"a file held and another read back different: the held one told",
       [&](TransferResult& r) {
         r.entries[3] = EntryRecord{Result::kDifferent};
         r.entries[3].began = true;
         r.entries[9] = failedCopy(kErrorSharingViolation);
       },
       "\r\n" + held + incomplete + journal},
      {"an I/O error the record cannot explain",
       [&](TransferResult& r) { r.entries[7] = failedCopy(1117); }, ""},
  };
  for (const auto& c : cases) {
    TransferResult run;
    for (EntryRecord& entry : run.entries) entry = EntryRecord{Result::kIntact, Step::kStage};
    c.record(run);
    const std::vector<Notice> boxes = FirmwareRunReport(OutcomeOfRun("E:\\", run));
    ASSERT_EQ(boxes.size(), 1u) << c.what;
    EXPECT_EQ(boxes[0].text, "Ошибка записи на \"E:\\\"" + c.secondLines) << c.what;
    EXPECT_EQ(boxes[0].caption, "Ошибка записи") << c.what;
  }
}

}  // namespace
