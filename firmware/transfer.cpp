#include "firmware/transfer.h"

#include "app/failure.h"

std::vector<const CatalogueEntry*> CopyFirmwareSet(const PayloadSource& payloads,
                                                   TransferFiles& files,
                                                   const std::string& stagingDir,
                                                   const std::string& destinationRoot,
                                                   TransferProgress* progress) {
  std::vector<const CatalogueEntry*> copied;
  for (const CatalogueEntry& entry : kFirmwareCatalogue) {
    const std::string staged = stagingDir + entry.fileName;
    const std::string destination = destinationRoot + entry.fileName;
    const std::span<const std::uint8_t> payload = payloads.Open(entry.payloadName);
    files.WriteWhole(staged, payload);
    // Clearing the old file first lets the copy decide on its own whether the entry made it.
    files.Delete(destination);
    // A copy the system reports as done may still sit in its cache when the drive is pulled.
    if (files.Copy(staged, destination) && files.Flush(destination)) {
      copied.push_back(&entry);
      if (progress) progress->FileDone(payload.size());
    }
    files.Delete(staged);
  }
  return copied;
}

int ReadBackFirmwareSet(const PayloadSource& payloads, TransferFiles& files,
                        const std::string& destinationRoot,
                        const std::vector<const CatalogueEntry*>& copied,
                        TransferProgress* progress) {
  ReadBackCheck check;
  int intact = 0;
  for (const CatalogueEntry* entry : copied) {
    const std::unique_ptr<UncachedFile> file =
        files.OpenUncached(destinationRoot + entry->fileName);
    const std::span<const std::uint8_t> expected = payloads.Open(entry->payloadName);
    if (file && check.Matches(*file, expected)) ++intact;
    if (progress) progress->FileDone(expected.size());
  }
  return intact;
}

int TransferFirmwareSet(const PendingIntegrity& check, const PayloadSource& payloads,
                        TransferFiles& files, const std::string& stagingDir,
                        const std::string& destinationRoot, TransferProgress* progress) {
  AwaitIntactFirmwareSet(check);
  return ReadBackFirmwareSet(
      payloads, files, destinationRoot,
      CopyFirmwareSet(payloads, files, stagingDir, destinationRoot, progress), progress);
}

// A payload the executable lacks counts nothing: the run stops at its entry and reports it.
std::uint64_t FirmwareSetBytes(const PayloadSource& payloads) {
  std::uint64_t total = 0;
  for (const CatalogueEntry& entry : kFirmwareCatalogue) {
    if (const auto bytes = CarriedPayload(payloads, entry.payloadName)) total += bytes->size();
  }
  return total;
}

std::optional<std::span<const std::uint8_t>> CarriedPayload(const PayloadSource& payloads,
                                                            const std::string& payloadName) {
  try {
    return payloads.Open(payloadName);
  } catch (const Failure&) {
    return std::nullopt;
  }
}

std::string StagingDirectory(const std::string& executableDir, bool executableDirIsDestination,
                             const std::string& temporaryDir) {
  return executableDirIsDestination ? temporaryDir : executableDir;
}
