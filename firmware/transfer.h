#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "firmware/catalogue.h"
#include "firmware/integrity.h"
#include "firmware/read_back.h"

// Where the payload bytes come from. A payload it does not carry is a ResourceNotFound failure.
class PayloadSource {
 public:
  virtual ~PayloadSource() = default;
  virtual std::span<const std::uint8_t> Open(const std::string& payloadName) const = 0;
};

// The payload's bytes, or nothing when the executable does not carry it.
std::optional<std::span<const std::uint8_t>> CarriedPayload(const PayloadSource& payloads,
                                                            const std::string& payloadName);

// The file-system steps of a transfer. Writing raises a Failure; the other steps report their
// outcome, which the transfer counts or ignores.
class TransferFiles {
 public:
  virtual ~TransferFiles() = default;
  // Creates or truncates the file for exclusive access and writes all of the bytes.
  virtual void WriteWhole(const std::string& path, std::span<const std::uint8_t> bytes) = 0;
  virtual bool Delete(const std::string& path) = 0;
  // Copies, replacing an existing destination.
  virtual bool Copy(const std::string& from, const std::string& to) = 0;
  // Pushes whatever the system still holds of the file out to the device.
  virtual bool Flush(const std::string& path) = 0;
  // Opens the file to be read from the device past the system's cache; null when it cannot.
  virtual std::unique_ptr<UncachedFile> OpenUncached(const std::string& path) = 0;
};

// Told of each file as it counts towards a run's progress: once it is on the device and once
// more when it has been read back. Staging writes do not count.
class TransferProgress {
 public:
  virtual ~TransferProgress() = default;
  virtual void FileDone(std::uint64_t bytes) = 0;
};

// First half of a run: stages each catalogue entry in stagingDir, copies it into
// destinationRoot and flushes it there. Gives the entries whose copy and flush succeeded, in
// catalogue order. Both directories end with their separator. A failed copy or flush is
// counted out and the run goes on; a Failure from the payloads or the staging write ends it.
std::vector<const CatalogueEntry*> CopyFirmwareSet(const PayloadSource& payloads,
                                                   TransferFiles& files,
                                                   const std::string& stagingDir,
                                                   const std::string& destinationRoot,
                                                   TransferProgress* progress = nullptr);

// Second half: reads each copied entry back from the device and gives how many hold exactly
// their payload. It runs only once the whole set is written, so that a drive on which a later
// file lands on top of an earlier one is caught.
int ReadBackFirmwareSet(const PayloadSource& payloads, TransferFiles& files,
                        const std::string& destinationRoot,
                        const std::vector<const CatalogueEntry*>& copied,
                        TransferProgress* progress = nullptr);

// A whole run: how many files are on the device as they should be. Its first step waits for the
// check of the embedded payloads; a set that is not as built ends the run there, before any file
// is touched.
int TransferFirmwareSet(const PendingIntegrity& check, const PayloadSource& payloads,
                        TransferFiles& files, const std::string& stagingDir,
                        const std::string& destinationRoot, TransferProgress* progress = nullptr);

// The bytes of the whole set, as the payloads hold them.
std::uint64_t FirmwareSetBytes(const PayloadSource& payloads);

// The staging place is next to the executable, unless that folder is the destination root
// itself: there the staging file and the destination would be one file.
std::string StagingDirectory(const std::string& executableDir, bool executableDirIsDestination,
                             const std::string& temporaryDir);
