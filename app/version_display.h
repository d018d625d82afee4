#pragma once

#include <cstdint>
#include <string>

#include "base/version_numbers.h"

// The caption the version is appended to: the design caption, marked as a test build's when the
// fixed file flags say the build carries stand-ins.
std::string MarkedCaption(const std::string& designCaption, std::uint32_t fixedFileFlags);

// " v<major>.<minor>" for the window caption.
std::string CaptionVersionSuffix(std::uint32_t fixedVersionWord);

// The bottom label: the version string, kept clear of the window's edge.
std::string FullVerCaption(const std::string& fileVersion);
