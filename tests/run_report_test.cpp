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

}  // namespace
