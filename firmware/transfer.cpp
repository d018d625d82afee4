#include "firmware/transfer.h"

std::vector<const CatalogueEntry*> CopyFirmwareSet(const PayloadSource& payloads,
                                                   TransferFiles& files,
                                                   const std::string& stagingDir,
                                                   const std::string& destinationRoot) {
  std::vector<const CatalogueEntry*> copied;
  for (const CatalogueEntry& entry : kFirmwareCatalogue) {
    const std::string staged = stagingDir + entry.fileName;
    const std::string destination = destinationRoot + entry.fileName;
    files.WriteWhole(staged, payloads.Open(entry.payloadName));
    // Clearing the old file first lets the copy decide on its own whether the entry made it.
    files.Delete(destination);
    // A copy the system reports as done may still sit in its cache when the drive is pulled.
    if (files.Copy(staged, destination) && files.Flush(destination)) copied.push_back(&entry);
    files.Delete(staged);
  }
  return copied;
}

int ReadBackFirmwareSet(const PayloadSource& payloads, TransferFiles& files,
                        const std::string& destinationRoot,
                        const std::vector<const CatalogueEntry*>& copied) {
  ReadBackCheck check;
  int intact = 0;
  for (const CatalogueEntry* entry : copied) {
    const std::unique_ptr<UncachedFile> file =
        files.OpenUncached(destinationRoot + entry->fileName);
    if (file && check.Matches(*file, payloads.Open(entry->payloadName))) ++intact;
  }
  return intact;
}

int TransferFirmwareSet(const PendingIntegrity& check, const PayloadSource& payloads,
                        TransferFiles& files, const std::string& stagingDir,
                        const std::string& destinationRoot) {
  AwaitIntactFirmwareSet(check);
  return ReadBackFirmwareSet(payloads, files, destinationRoot,
                             CopyFirmwareSet(payloads, files, stagingDir, destinationRoot));
}

std::string StagingDirectory(const std::string& executableDir, bool executableDirIsDestination,
                             const std::string& temporaryDir) {
  return executableDirIsDestination ? temporaryDir : executableDir;
}
