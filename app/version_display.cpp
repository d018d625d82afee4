#include "app/version_display.h"

#include <cstdio>

#include "app/failure.h"
#include "app/texts.h"

// The mark goes first, so that a narrow title bar, which cuts a caption off at its end, never
// hides it.
std::string MarkedCaption(const std::string& designCaption, std::uint32_t fixedFileFlags) {
  if (fixedFileFlags & kPrivateBuildFlag) return kTestBuildCaptionMark + designCaption;
  return designCaption;
}

std::string ShortVersion(std::uint32_t fixedVersionWord) {
  if (fixedVersionWord & 0x80000000u) throw RangeCheckError();
  return std::to_string(fixedVersionWord >> 16) + "." + std::to_string(fixedVersionWord & 0xFFFF);
}

std::string CaptionVersionSuffix(std::uint32_t fixedVersionWord) {
  return FillText(kCaptionVersion, {ShortVersion(fixedVersionWord)});
}

std::optional<std::string> FileVersionQueryPath(std::uint32_t firstTranslation) {
  const unsigned language = firstTranslation & 0xFFFF;
  const unsigned codePage = firstTranslation >> 16;
  if (codePage >= 0x8000) return std::nullopt;
  char path[64];
  std::snprintf(path, sizeof(path), "\\StringFileInfo\\%.4X%.4X\\FileVersion", language, codePage);
  return path;
}

std::string FullVerCaption(const std::string& fileVersion) {
  return FillText(kFullVerCaption, {fileVersion});
}
