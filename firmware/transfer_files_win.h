#pragma once

#include "firmware/transfer.h"

// The transfer's file steps on the Win32 file API.
class WinTransferFiles : public TransferFiles {
 public:
  void WriteNew(const std::string& path, std::span<const std::uint8_t> bytes) override;
  StepOutcome Delete(const std::string& path) override;
  CopyAttempt Copy(const std::string& from, const std::string& to, bool replace) override;
  StepOutcome Flush(const std::string& path) override;
  OpenedFile OpenUncached(const std::string& path) override;
  Presence LookUp(const std::string& path) override;
  bool RootAnswers(const std::string& root) override;
  std::optional<std::vector<DirectoryEntry>> List(const std::string& directory) override;
  std::optional<VolumeSpace> Space(const std::string& directory) override;
};
