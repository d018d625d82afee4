#include "base/version_info_win.h"

#include <windows.h>

#include <cstring>

#include "base/executable_dir_win.h"
#include "base/system_library_win.h"
#include "base/text_win.h"
#include "base/version_numbers.h"

namespace {

struct VersionFunctions {
  decltype(&::GetFileVersionInfoSizeW) GetFileVersionInfoSizeW;
  decltype(&::GetFileVersionInfoW) GetFileVersionInfoW;
  decltype(&::VerQueryValueW) VerQueryValueW;
};

VersionFunctions LoadVersionFunctions() {
  const SystemLibrary library(L"version.dll");
  return {SYSTEM_FUNCTION(library, GetFileVersionInfoSizeW),
          SYSTEM_FUNCTION(library, GetFileVersionInfoW), SYSTEM_FUNCTION(library, VerQueryValueW)};
}

const VersionFunctions& VersionLibrary() {
  static const VersionFunctions functions = LoadVersionFunctions();
  return functions;
}

}  // namespace

void LoadVersionLibrary() { VersionLibrary(); }

VersionInfo VersionInfo::OfFile(const std::string& path) {
  const VersionFunctions& version = VersionLibrary();
  const std::wstring file = Widen(path);
  DWORD ignored = 0;
  const DWORD size = version.GetFileVersionInfoSizeW(file.c_str(), &ignored);
  std::vector<std::uint8_t> block(size);
  if (size == 0 || !version.GetFileVersionInfoW(file.c_str(), 0, size, block.data())) block.clear();
  return VersionInfo(std::move(block));
}

bool VersionInfo::Query(const std::string& path, const void** value, unsigned* length) const {
  if (block_.empty()) return false;
  void* found = nullptr;
  UINT foundLength = 0;
  if (!VersionLibrary().VerQueryValueW(block_.data(), Widen(path).c_str(), &found, &foundLength) ||
      !found)
    return false;
  *value = found;
  *length = foundLength;
  return true;
}

const void* VersionInfo::FixedPart() const {
  const void* value = nullptr;
  unsigned length = 0;
  if (!Query("\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO)) return nullptr;
  return value;
}

std::uint32_t VersionInfo::FixedVersionWord() const {
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(FixedPart());
  return fixed ? fixed->dwFileVersionMS : kNoFixedVersion;
}

std::uint32_t VersionInfo::FixedFileFlags() const {
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(FixedPart());
  return fixed ? fixed->dwFileFlags & fixed->dwFileFlagsMask : 0;
}

std::string VersionInfo::FileVersionString() const {
  const void* value = nullptr;
  unsigned length = 0;
  if (!Query("\\VarFileInfo\\Translation", &value, &length) || length < sizeof(std::uint32_t))
    return {};
  std::uint32_t firstTranslation = 0;
  std::memcpy(&firstTranslation, value, sizeof(firstTranslation));
  const std::optional<std::string> path = FileVersionQueryPath(firstTranslation);
  if (!path || !Query(*path, &value, &length)) return {};
  // The length counts characters, the terminating zero among them when there is one.
  const auto* text = static_cast<const wchar_t*>(value);
  return Narrow(std::wstring(text, wcsnlen(text, length)));
}

std::string GetExeFileVersionString() {
  return VersionInfo::OfFile(ExecutablePath()).FileVersionString();
}

std::uint32_t ExeFixedVersionWord() {
  return VersionInfo::OfFile(ExecutablePath()).FixedVersionWord();
}

std::uint32_t ExeFixedFileFlags() { return VersionInfo::OfFile(ExecutablePath()).FixedFileFlags(); }
