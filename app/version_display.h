#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What the fixed-version query gives when the executable has no fixed version.
inline constexpr std::uint32_t kNoFixedVersion = 0xFFFFFFFF;
// The fixed file flag of a build that carries stand-ins (VS_FF_PRIVATEBUILD).
inline constexpr std::uint32_t kPrivateBuildFlag = 0x08;

// The caption the version is appended to: the design caption, marked as a test build's when the
// fixed file flags say the build carries stand-ins.
std::string MarkedCaption(const std::string& designCaption, std::uint32_t fixedFileFlags);

// "<major>.<minor>", from the upper half of the fixed file version. A word with its top bit set
// does not fit the signed number it is kept in: RangeCheckError.
std::string ShortVersion(std::uint32_t fixedVersionWord);

// " v<major>.<minor>" for the window caption.
std::string CaptionVersionSuffix(std::uint32_t fixedVersionWord);

// Where the "FileVersion" string of the first translation lives, as
// \StringFileInfo\041904E3\FileVersion. The translation entry holds the language in its low
// half and the code page in its high half; a code page of 0x8000 or more is out of range.
std::optional<std::string> FileVersionQueryPath(std::uint32_t firstTranslation);

// The bottom label: the version string, kept clear of the window's edge.
std::string FullVerCaption(const std::string& fileVersion);
