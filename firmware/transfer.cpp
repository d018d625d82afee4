#include "firmware/transfer.h"

#include "firmware/catalogue.h"

int TransferFirmwareSet(const PayloadSource& payloads, TransferFiles& files,
                        const std::string& stagingDir, const std::string& destinationRoot) {
  int copied = 0;
  for (const CatalogueEntry& entry : kFirmwareCatalogue) {
    const std::string staged = stagingDir + entry.fileName;
    const std::string destination = destinationRoot + entry.fileName;
    files.WriteWhole(staged, payloads.Open(entry.payloadName));
    // Clearing the old file first lets the copy decide on its own whether the entry made it.
    files.Delete(destination);
    if (files.Copy(staged, destination)) ++copied;
    files.Delete(staged);
  }
  return copied;
}
