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

Presence PresenceAfterFailedSearch(std::uint32_t error, bool rootAnswers) {
  if (error == kErrorFileNotFound || (error == kErrorPathNotFound && rootAnswers))
    return Presence::kAbsent;
  return Presence::kUnknown;
}

bool CopyFoundNoDestination(std::uint32_t error) {
  switch (error) {
    case kErrorFileNotFound:
    case kErrorPathNotFound:
    case kErrorInvalidDrive:
    case kErrorNotReady:
    case kErrorBadNetPath:
    case kErrorDevNotExist:
    case kErrorBadNetName:
    case kErrorNoMediaInDrive:
      return true;
    default:
      return false;
  }
}
