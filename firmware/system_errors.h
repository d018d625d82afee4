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

// What a search that found nothing tells, given the error it failed with: the file is absent
// only when the system says so, or says its folder is absent while the drive's root still
// answers. A drive that has gone says the same of every path on it.
Presence PresenceAfterFailedSearch(std::uint32_t error, bool rootAnswers);

// Whether a copy that failed with the error never opened its destination: the drive, its root or
// the source could not be found, so it wrote nothing. Any other failure may have come part-way.
bool CopyFoundNoDestination(std::uint32_t error);
