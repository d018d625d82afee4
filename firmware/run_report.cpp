#include "firmware/run_report.h"

#include <algorithm>
#include <functional>

#include "base/system_error_names.h"
#include "base/texts.h"
#include "firmware/catalogue.h"
#include "firmware/room_check.h"

namespace {

constexpr std::size_t kNamesShown = 3;

Notice WriteErrorBox(const std::string& text) {
  return {text, kWriteErrorCaption, NoticeIcon::kError};
}

bool AnyEntry(const TransferResult& run, const std::function<bool(const EntryRecord&)>& test) {
  return std::any_of(run.entries.begin(), run.entries.end(), test);
}

bool FailedOnTheDrive(const EntryRecord& entry) {
  return entry.result == EntryRecord::Result::kFailed && entry.step != EntryRecord::Step::kStage;
}

bool Held(std::uint32_t error) {
  return error == kErrorSharingViolation || error == kErrorLockViolation;
}

// A read-only file under a firmware name refuses its copy as a policy would; it is the stick's
// file, not the PC's refusal.
RunFault FaultOf(const TransferResult& run) {
  if (run.driveStoppedAnswering) return RunFault::kStickGone;
  if (AnyEntry(run, [](const EntryRecord& e) {
        return FailedOnTheDrive(e) && e.error == kErrorWriteProtect;
      }))
    return RunFault::kWriteProtected;
  if (AnyEntry(run, [](const EntryRecord& e) {
        return FailedOnTheDrive(e) && e.error == kErrorAccessDenied && !e.foundReadOnly;
      }))
    return RunFault::kWritingRefused;
  if (AnyEntry(run, [](const EntryRecord& e) {
        return (FailedOnTheDrive(e) && Held(e.error)) || Held(e.leftError);
      }))
    return RunFault::kFileHeld;
  if (AnyEntry(run,
               [](const EntryRecord& e) { return e.result == EntryRecord::Result::kDifferent; }))
    return RunFault::kReadBackDifferent;
  return RunFault::kUnknown;
}

const char* CauseText(RunFault fault) {
  switch (fault) {
    case RunFault::kStickGone:
      return kStickGoneCause;
    case RunFault::kWriteProtected:
      return kWriteProtectedCause;
    case RunFault::kWritingRefused:
      return kWritingRefusedCause;
    case RunFault::kFileHeld:
      return kFileHeldCause;
    case RunFault::kReadBackDifferent:
      return kReadBackDifferentCause;
    case RunFault::kUnknown:
      break;
  }
  return "";
}

}  // namespace

FirmwareRunOutcome OutcomeOfRun(const std::string& driveRoot, const TransferResult& run) {
  FirmwareRunOutcome outcome{driveRoot, run.IntactCount(), run.ShortfallBytes(), run.volumeFull,
                             run.UndeletableFiles()};
  outcome.fault = FaultOf(run);
  outcome.driveChanged = run.ChangedDevice();
  return outcome;
}

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

// A run that may have left a wrong file under a firmware name says which in its one box. A write
// error whose cause the run's record tells says that cause, what it left on the stick and where
// to read more; one whose cause it cannot tell is told as it always was.
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
  const bool causeTold =
      !outcome.failure && !outcome.volumeFull && outcome.fault != RunFault::kUnknown;
  if (causeTold)
    box.text += std::string("\r\n") + CauseText(outcome.fault) + " " +
                (outcome.driveChanged ? kLeftIncompleteText : kLeftUnchangedText);
  if (!outcome.undeletable.empty()) box.text += "\r\n" + UndeletableFilesLine(outcome.undeletable);
  if (causeTold) box.text += std::string("\r\n") + kSeeTheJournal;
  return {box};
}
