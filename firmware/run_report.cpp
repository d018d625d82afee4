#include "firmware/run_report.h"

#include "firmware/catalogue.h"

namespace {

bool WholeSet(int intactCount) { return intactCount == static_cast<int>(kFirmwareSetSize); }

}  // namespace

bool FirmwareRunOutcome::Succeeded() const { return WholeSet(intactCount); }

std::vector<Notice> FirmwareRunReport(int intactCount, const std::string& driveRoot) {
  const std::string quotedRoot = "\"" + driveRoot + "\"";
  if (!WholeSet(intactCount)) {
    return {{"Ошибка записи на " + quotedRoot, "Ошибка записи", NoticeIcon::kError}};
  }
  return {
      {"Файлы прошивки успешно сохранены на " + quotedRoot, "Процесс завершен", NoticeIcon::kNone},
      {"ВНИМАНИЕ! Перед прошивкой рекомендуется отключить от терминала все подключенные кабели "
       "и устройства, кроме адаптера питания!",
       "Предупреждение", NoticeIcon::kWarning},
  };
}
