#include "app/version_display.h"

#include "base/texts.h"

// The mark goes first, so that a narrow title bar, which cuts a caption off at its end, never
// hides it.
std::string MarkedCaption(const std::string& designCaption, std::uint32_t fixedFileFlags) {
  if (fixedFileFlags & kPrivateBuildFlag) return kTestBuildCaptionMark + designCaption;
  return designCaption;
}

std::string CaptionVersionSuffix(std::uint32_t fixedVersionWord) {
  return FillText(kCaptionVersion, {ShortVersion(fixedVersionWord)});
}

std::string FullVerCaption(const std::string& fileVersion) {
  return FillText(kFullVerCaption, {fileVersion});
}
