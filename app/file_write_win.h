#pragma once

#include <cstdint>
#include <span>
#include <string>

// Creates or truncates the file for exclusive read/write access and writes all of the bytes.
// Raises CannotCreateFile with the system's reason, or StreamWriteError for a short write
// (the partial file stays).
void WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes);
