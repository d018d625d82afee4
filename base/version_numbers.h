#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What the fixed-version query gives when the executable has no fixed version.
inline constexpr std::uint32_t kNoFixedVersion = 0xFFFFFFFF;
// The fixed file flag of a build that carries stand-ins (VS_FF_PRIVATEBUILD).
inline constexpr std::uint32_t kPrivateBuildFlag = 0x08;

// "<major>.<minor>", from the upper half of the fixed file version. A word with its top bit set
// does not fit the signed number it is kept in: RangeCheckError.
std::string ShortVersion(std::uint32_t fixedVersionWord);

// Where the "FileVersion" string of the first translation lives, as
// \StringFileInfo\041904E3\FileVersion. The translation entry holds the language in its low
// half and the code page in its high half; a code page of 0x8000 or more is out of range.
std::optional<std::string> FileVersionQueryPath(std::uint32_t firstTranslation);
