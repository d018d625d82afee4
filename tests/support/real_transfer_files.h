#pragma once

// The file steps the transfer runs on for real on this platform, and its test of two
// directories being one.
#ifdef _WIN32
#include "base/file_places_win.h"
#include "firmware/transfer_files_win.h"
using RealTransferFiles = WinTransferFiles;
inline bool RealSameDirectory(const std::string& first, const std::string& second) {
  return RelateDirectories(first, second).sameDirectory;
}
#else
#include "support/std_transfer_files.h"
#include "support/temp_folder.h"
using RealTransferFiles = StdTransferFiles;
inline bool RealSameDirectory(const std::string& first, const std::string& second) {
  std::error_code error;
  return std::filesystem::equivalent(Utf8Path(first), Utf8Path(second), error);
}
#endif
