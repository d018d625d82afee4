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
  // Whether the fixed file flags mark a private build: one that carries stand-ins.
  bool PrivateBuild() const;
  // The "FileVersion" string of the first translation, or empty.
  std::string FileVersionString() const;

 private:
  bool Query(const std::string& path, const void** value, unsigned* length) const;
  mutable std::vector<std::uint8_t> block_;
};

// Loads the version functions from the system folder; raises CannotLoadLibrary. Start-up calls
// it, so that the window never meets the failure.
void LoadVersionLibrary();

std::string GetExeFileVersionString();
std::uint32_t ExeFixedVersionWord();
bool ExeCarriesStandIns();
