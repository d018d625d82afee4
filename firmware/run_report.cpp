#include "firmware/run_report.h"

#include "firmware/catalogue.h"
#include "firmware/room_check.h"

bool FirmwareRunOutcome::Succeeded() const {
  return intactCount == static_cast<int>(kFirmwareSetSize);
}

std::vector<Notice> FirmwareRunReport(const FirmwareRunOutcome& outcome) {
  const std::string quotedRoot = "\"" + outcome.driveRoot + "\"";
  if (outcome.shortfallBytes) {
    return {{"Недостаточно места на " + quotedRoot + ": не хватает " +
                 ShortfallText(outcome.shortfallBytes) +
                 ". Прошивка не записана, файлы на USB-Flash не изменены.",
             "Ошибка записи", NoticeIcon::kError}};
  }
  if (!outcome.Succeeded()) {
    return {{"Ошибка записи на " + quotedRoot, "Ошибка записи", NoticeIcon::kError}};
  }
  return {
      {"Файлы прошивки успешно сохранены на " + quotedRoot, "Процесс завершен", NoticeIcon::kNone},
      {"ВНИМАНИЕ! Перед прошивкой рекомендуется отключить от терминала все подключенные кабели "
       "и устройства, кроме адаптера питания!",
       "Предупреждение", NoticeIcon::kWarning},
  };
}
