#pragma once

#include "firmware/transfer.h"

// The transfer's file steps on the standard library and POSIX, for running the transfer
// natively: fsync for the flush, O_DIRECT for reading past the page cache where the file
// system takes it.
class StdTransferFiles : public TransferFiles {
 public:
  void WriteWhole(const std::string& path, std::span<const std::uint8_t> bytes) override;
  bool Delete(const std::string& path) override;
  bool Copy(const std::string& from, const std::string& to) override;
  bool Flush(const std::string& path) override;
  std::unique_ptr<UncachedFile> OpenUncached(const std::string& path) override;
};
