#pragma once

#include <cstdint>

#include "base/system_error_names.h"
#include "firmware/holder_patience.h"

// What a run makes of the error a file step failed with.
FileOutcome OutcomeOfSystemError(std::uint32_t error);
