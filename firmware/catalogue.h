#pragma once

#include <array>
#include <cstddef>

// One payload the executable carries and the file name it gets in the drive root.
struct CatalogueEntry {
  const char* payloadName;
  const char* fileName;
};

// The firmware set in the order it is written, made by the build from firmware/catalogue.txt,
// the one list of it. A run counts as a success only when every entry was copied, so the size of
// this table is also the success criterion.
inline constexpr auto kFirmwareCatalogue = std::to_array<CatalogueEntry>({
#include "catalogue_entries.inc"
});

inline constexpr std::size_t kFirmwareSetSize = kFirmwareCatalogue.size();
