#pragma once

#include <cstdint>
#include <span>
#include <string>

// Creates or truncates the file for exclusive read/write access and writes all of the bytes.
// Raises CannotCreateFile with the system's reason, or StreamWriteError for a short write
// (the partial file stays).
void WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes);

// The same for a file that must not exist yet; one it made but could not fill it deletes again.
void WriteNewFile(const std::string& path, std::span<const std::uint8_t> bytes);
