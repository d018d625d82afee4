#pragma once

#include <cstdint>

#include "base/system_error_names.h"
#include "firmware/holder_patience.h"

// What a run makes of the error a file step failed with.
FileOutcome OutcomeOfSystemError(std::uint32_t error);

// What a search of a file's folder tells of the file.
enum class Presence {
  kPresent,
  kAbsent,
  // The search failed for another reason (a device error, a drive that has gone): the file may
  // still be there.
  kUnknown,
};

// Whether a search that found nothing must ask the drive's root before its answer counts: the
// system's "not found" is the same answer a drive gives of every path while it is being removed.
bool SearchAnswerNeedsRoot(std::uint32_t error);

// What a search that found nothing tells, given the error it failed with: the file is absent
// only when the system says the file or its folder is not found while the drive's root still
// answers.
Presence PresenceAfterFailedSearch(std::uint32_t error, bool rootAnswers);
