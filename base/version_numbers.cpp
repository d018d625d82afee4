#include "base/version_numbers.h"

#include <cstdio>

#include "base/failure.h"

std::string ShortVersion(std::uint32_t fixedVersionWord) {
  if (fixedVersionWord & 0x80000000u) throw RangeCheckError();
  return std::to_string(fixedVersionWord >> 16) + "." + std::to_string(fixedVersionWord & 0xFFFF);
}

std::optional<std::string> FileVersionQueryPath(std::uint32_t firstTranslation) {
  const unsigned language = firstTranslation & 0xFFFF;
  const unsigned codePage = firstTranslation >> 16;
  if (codePage >= 0x8000) return std::nullopt;
  char path[64];
  std::snprintf(path, sizeof(path), "\\StringFileInfo\\%.4X%.4X\\FileVersion", language, codePage);
  return path;
}
