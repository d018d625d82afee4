#include "changelog/change_log.h"

Notice ChangeLogUnavailable() {
  return {
      "Невозможно отобразить список изменений. Возможно, он уже открыт, либо Adobe Reader не "
      "установлен.",
      "Ошибка", NoticeIcon::kError};
}
