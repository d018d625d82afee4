#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Asks the system for its drive-string list: fills at most capacity characters of buffer and
// returns the length written without the final terminator, or, when the list does not fit,
// the capacity it needs. Zero means the list could not be read.
using DriveStringsQuery = std::function<std::uint32_t(std::uint32_t capacity, char* buffer)>;

inline constexpr std::uint32_t kDriveStringsFirstCapacity = 100;

// The drive roots in the system's order, however long the list is.
std::vector<std::string> ReadDriveStrings(const DriveStringsQuery& query);

// Splits the first length characters at every zero character; each zero ends one string.
std::vector<std::string> SplitDriveStrings(const char* buffer, std::uint32_t length);
