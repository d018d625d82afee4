#include "firmware/stick_check_report.h"

#include "app/texts.h"

// Only the counts that are not zero are told.
Notice StickCheckReport(const StickCheck& check, const std::string& root,
                        const std::string& version, bool standIns) {
  const std::string quotedRoot = "\"" + root + "\"";
  if (check.unreadable) {
    return {"Не удалось прочитать " + quotedRoot + ". Подключите USB-Flash и повторите проверку.",
            kStickCheckCaption, NoticeIcon::kError};
  }
  const std::string set = std::to_string(kFirmwareSetSize);
  if (check.AllExact()) {
    std::string text = "На " + quotedRoot + " все " + set + " файлов прошивки версии " + version +
                       " совпадают с эталоном.";
    if (standIns) text += "\r\n" + std::string(kStandInStickWarning);
    return {text, kStickCheckCaption, NoticeIcon::kInformation};
  }
  std::string counts;
  if (const int different = check.Different()) counts = "отличаются: " + std::to_string(different);
  if (const int missing = check.Missing())
    counts += (counts.empty() ? "" : ", ") + std::string("отсутствуют: ") + std::to_string(missing);
  return {"На " + quotedRoot + " нет полного набора прошивки версии " + version + " (из " + set +
              " файлов " + counts + "). Запишите прошивку заново.",
          kStickCheckCaption, NoticeIcon::kWarning};
}
