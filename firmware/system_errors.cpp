#include "firmware/system_errors.h"

// Both numbers mean a full volume: the second is what a write through an open handle may give.
FileOutcome OutcomeOfSystemError(std::uint32_t error) {
  switch (error) {
    case kErrorSharingViolation:
    case kErrorLockViolation:
      return FileOutcome::kHeld;
    case kErrorAccessDenied:
      return FileOutcome::kDenied;
    case kErrorFileExists:
    case kErrorAlreadyExists:
      return FileOutcome::kNameTaken;
    case kErrorDiskFull:
    case kErrorHandleDiskFull:
      return FileOutcome::kVolumeFull;
    default:
      return FileOutcome::kFailed;
  }
}

bool SearchAnswerNeedsRoot(std::uint32_t error) {
  return error == kErrorFileNotFound || error == kErrorPathNotFound;
}

Presence PresenceAfterFailedSearch(std::uint32_t error, bool rootAnswers) {
  return SearchAnswerNeedsRoot(error) && rootAnswers ? Presence::kAbsent : Presence::kUnknown;
}
