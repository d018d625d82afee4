#include "changelog/change_log.h"

#include "base/texts.h"

Notice ChangeLogUnavailable() {
  return {kChangeLogUnavailableText, kErrorCaption, NoticeIcon::kError};
}
