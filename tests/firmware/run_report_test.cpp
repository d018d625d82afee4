#include "firmware/run_report.h"

#include <gtest/gtest.h>

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
      {{"E:\\", 0, 0, false, {}, std::nullopt, true},
       {"Ошибка записи на \"E:\\\"\r\nUSB-Flash защищён от записи, файлы на нём не изменены. "
        "Сдвиньте переключатель защиты на карте памяти или возьмите другой USB-Flash.",
        "Ошибка записи", NoticeIcon::kError}},
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

}  // namespace
