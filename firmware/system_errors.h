#pragma once

#include <cstdint>
#include <string>

#include "firmware/holder_patience.h"

// Windows' numbers for the errors a run's file steps meet, kept here so that what a run makes of
// them is decided, and tested, without Windows.
inline constexpr std::uint32_t kErrorAccessDenied = 5;
inline constexpr std::uint32_t kErrorSharingViolation = 32;
inline constexpr std::uint32_t kErrorLockViolation = 33;
inline constexpr std::uint32_t kErrorHandleDiskFull = 39;
inline constexpr std::uint32_t kErrorFileExists = 80;
inline constexpr std::uint32_t kErrorDiskFull = 112;
inline constexpr std::uint32_t kErrorAlreadyExists = 183;

// What a run makes of the error a file step failed with.
FileOutcome OutcomeOfSystemError(std::uint32_t error);

// The error as the journal names it: "ERROR_SHARING_VIOLATION (32)", or only its number where it
// is none the tool expects to meet.
std::string SystemErrorName(std::uint32_t error);
