#include "firmware/stick_check_report.h"

#include "base/texts.h"

// Only the counts that are not zero are told.
Notice StickCheckReport(const StickCheck& check, const std::string& root,
                        const std::string& version, bool standIns) {
  if (check.unreadable)
    return {FillText(kStickUnreadableText, {root}), kStickCheckCaption, NoticeIcon::kError};
  const std::string set = std::to_string(kFirmwareSetSize);
  if (check.AllExact()) {
    std::string text = FillText(kStickExactText, {root, set, version});
    if (standIns) text += "\r\n" + std::string(kStandInStickWarning);
    return {text, kStickCheckCaption, NoticeIcon::kInformation};
  }
  std::string counts;
  if (const int different = check.Different())
    counts = FillText(kDifferentCount, {std::to_string(different)});
  if (const int missing = check.Missing())
    counts += (counts.empty() ? "" : ", ") + FillText(kMissingCount, {std::to_string(missing)});
  return {FillText(kStickIncompleteText, {root, version, set, counts}), kStickCheckCaption,
          NoticeIcon::kWarning};
}
