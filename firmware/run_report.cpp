#include "firmware/run_report.h"

#include "base/texts.h"
#include "firmware/catalogue.h"
#include "firmware/room_check.h"

namespace {

constexpr std::size_t kNamesShown = 3;

Notice WriteErrorBox(const std::string& text) {
  return {text, kWriteErrorCaption, NoticeIcon::kError};
}

}  // namespace

bool FirmwareRunOutcome::Succeeded() const {
  return !failure && !volumeFull && intactCount == static_cast<int>(kFirmwareSetSize);
}

std::string UndeletableFilesLine(const std::vector<std::string>& fileNames) {
  if (fileNames.size() == 1) return FillText(kUndeletableFile, {fileNames.front()});
  std::string names;
  for (std::size_t i = 0; i < fileNames.size() && i < kNamesShown; ++i)
    names += (i ? ", " : "") + fileNames[i];
  if (fileNames.size() > kNamesShown)
    names = FillText(kMoreFiles, {names, std::to_string(fileNames.size() - kNamesShown)});
  return FillText(kUndeletableFiles, {names});
}

// A run that may have left a wrong file under a firmware name says which in a second line of its
// one box; so does a write-protected stick, and what to do about it.
std::vector<Notice> FirmwareRunReport(const FirmwareRunOutcome& outcome) {
  const std::string& root = outcome.driveRoot;
  if (outcome.shortfallBytes)
    return {
        WriteErrorBox(FillText(kRoomLackingText, {root, ShortfallText(outcome.shortfallBytes)}))};
  if (outcome.Succeeded()) {
    return {
        {FillText(kSuccessText, {root}), kSuccessCaption, NoticeIcon::kNone},
        {kWarningText, kWarningCaption, NoticeIcon::kWarning},
    };
  }
  Notice box = outcome.failure      ? *outcome.failure
               : outcome.volumeFull ? WriteErrorBox(FillText(kStickFilledText, {root}))
                                    : WriteErrorBox(FillText(kWriteErrorText, {root}));
  if (outcome.writeProtected) box.text += std::string("\r\n") + kWriteProtectedLine;
  if (!outcome.undeletable.empty()) box.text += "\r\n" + UndeletableFilesLine(outcome.undeletable);
  return {box};
}
