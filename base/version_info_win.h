#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A version-information block as the system reads it from an executable.
class VersionInfo {
 public:
  explicit VersionInfo(std::vector<std::uint8_t> block) : block_(std::move(block)) {}
  // The file's block, or an empty one when the file has none.
  static VersionInfo OfFile(const std::string& path);

  // The upper half of the fixed file version (major, minor), or kNoFixedVersion.
  std::uint32_t FixedVersionWord() const;
  // The fixed file flags the flags mask declares valid, or 0 without a fixed part.
  std::uint32_t FixedFileFlags() const;
  // The "FileVersion" string of the first translation, or empty.
  std::string FileVersionString() const;

 private:
  bool Query(const std::string& path, const void** value, unsigned* length) const;
  // The VS_FIXEDFILEINFO, or null when the block has none.
  const void* FixedPart() const;
  mutable std::vector<std::uint8_t> block_;
};

// Loads the version functions from the system folder; raises CannotLoadLibrary. Start-up calls
// it, so that the window never meets the failure.
void LoadVersionLibrary();

std::string GetExeFileVersionString();
std::uint32_t ExeFixedVersionWord();
std::uint32_t ExeFixedFileFlags();
