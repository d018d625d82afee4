#include "firmware/run_report.h"

#include "firmware/catalogue.h"
#include "firmware/room_check.h"

namespace {

constexpr std::size_t kNamesShown = 3;

Notice WriteErrorBox(const std::string& text) {
  return {text, "Ошибка записи", NoticeIcon::kError};
}

}  // namespace

bool FirmwareRunOutcome::Succeeded() const {
  return !failure && !volumeFull && intactCount == static_cast<int>(kFirmwareSetSize);
}

std::string UndeletableFilesLine(const std::vector<std::string>& fileNames) {
  const bool one = fileNames.size() == 1;
  std::string names;
  for (std::size_t i = 0; i < fileNames.size() && i < kNamesShown; ++i)
    names += (i ? ", " : "") + fileNames[i];
  if (fileNames.size() > kNamesShown)
    names += " и ещё " + std::to_string(fileNames.size() - kNamesShown);
  return (one ? "Файл " : "Файлы ") + names + " на USB-Flash не удалось удалить, " +
         (one ? "его" : "их") + " содержимое может быть неверным. Удалите " + (one ? "его" : "их") +
         " вручную, прежде чем прошивать терминал.";
}

// A run that may have left a wrong file under a firmware name says which in a second line of its
// one box.
std::vector<Notice> FirmwareRunReport(const FirmwareRunOutcome& outcome) {
  const std::string quotedRoot = "\"" + outcome.driveRoot + "\"";
  if (outcome.shortfallBytes) {
    return {WriteErrorBox("Недостаточно места на " + quotedRoot + ": не хватает " +
                          ShortfallText(outcome.shortfallBytes) +
                          ". Прошивка не записана, файлы на USB-Flash не изменены.")};
  }
  if (outcome.Succeeded()) {
    return {
        {"Файлы прошивки успешно сохранены на " + quotedRoot, "Процесс завершен",
         NoticeIcon::kNone},
        {"ВНИМАНИЕ! Перед прошивкой рекомендуется отключить от терминала все подключенные кабели "
         "и устройства, кроме адаптера питания!",
         "Предупреждение", NoticeIcon::kWarning},
    };
  }
  Notice box = outcome.failure ? *outcome.failure
               : outcome.volumeFull
                   ? WriteErrorBox("Недостаточно места на " + quotedRoot +
                                   ": прошивка записана не полностью. Освободите место на "
                                   "USB-Flash и запишите прошивку заново.")
                   : WriteErrorBox("Ошибка записи на " + quotedRoot);
  if (!outcome.undeletable.empty()) box.text += "\r\n" + UndeletableFilesLine(outcome.undeletable);
  return {box};
}
