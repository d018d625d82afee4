#pragma once

#include <cstdint>
#include <string>

// Windows' numbers for the errors the tool's file steps meet, kept here so that what is made of
// them is decided, and tested, without Windows.
inline constexpr std::uint32_t kErrorAccessDenied = 5;
inline constexpr std::uint32_t kErrorSharingViolation = 32;
inline constexpr std::uint32_t kErrorLockViolation = 33;
inline constexpr std::uint32_t kErrorHandleDiskFull = 39;
inline constexpr std::uint32_t kErrorFileExists = 80;
inline constexpr std::uint32_t kErrorDiskFull = 112;
inline constexpr std::uint32_t kErrorAlreadyExists = 183;

// The error as the journal names it: "ERROR_SHARING_VIOLATION (32)", or only its number where it
// is none the tool expects to meet.
std::string SystemErrorName(std::uint32_t error);
