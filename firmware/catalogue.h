#pragma once

#include <array>
#include <cstddef>

// One payload the executable carries and the file name it gets in the drive root.
struct CatalogueEntry {
  const char* payloadName;
  const char* fileName;
};

inline constexpr std::size_t kFirmwareSetSize = 30;

// The firmware set in the order it is written. A run counts as a success only when every
// entry was copied, so the size of this table is also the success criterion.
extern const std::array<CatalogueEntry, kFirmwareSetSize> kFirmwareCatalogue;
