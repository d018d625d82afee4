#include "changelog/change_log.h"

#include "app/texts.h"

Notice ChangeLogUnavailable() {
  return {kChangeLogUnavailableText, kErrorCaption, NoticeIcon::kError};
}
