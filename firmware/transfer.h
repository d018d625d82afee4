#pragma once

#include <cstdint>
#include <span>
#include <string>

// Where the payload bytes come from. A payload it does not carry is a ResourceNotFound failure.
class PayloadSource {
 public:
  virtual ~PayloadSource() = default;
  virtual std::span<const std::uint8_t> Open(const std::string& payloadName) const = 0;
};

// The file-system steps of a transfer. Writing raises a Failure; deleting and copying report
// their outcome, which the transfer counts or ignores.
class TransferFiles {
 public:
  virtual ~TransferFiles() = default;
  // Creates or truncates the file for exclusive access and writes all of the bytes.
  virtual void WriteWhole(const std::string& path, std::span<const std::uint8_t> bytes) = 0;
  virtual bool Delete(const std::string& path) = 0;
  // Copies, replacing an existing destination.
  virtual bool Copy(const std::string& from, const std::string& to) = 0;
};

// Puts every catalogue entry into destinationRoot by way of a staging file in stagingDir and
// returns how many copies succeeded. Both directories end with their separator. A failed copy
// is counted out and the run goes on; a Failure from the payloads or the staging write ends it.
int TransferFirmwareSet(const PayloadSource& payloads, TransferFiles& files,
                        const std::string& stagingDir, const std::string& destinationRoot);
