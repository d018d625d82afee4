#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/failure.h"
#include "firmware/catalogue.h"
#include "firmware/holder_patience.h"
#include "firmware/integrity.h"
#include "firmware/read_back.h"
#include "firmware/room_check.h"

// Where the payload bytes come from. A payload it does not carry is a ResourceNotFound failure.
class PayloadSource {
 public:
  virtual ~PayloadSource() = default;
  virtual std::span<const std::uint8_t> Open(const std::string& payloadName) const = 0;
};

// The payload's bytes, or nothing when the executable does not carry it.
std::optional<std::span<const std::uint8_t>> CarriedPayload(const PayloadSource& payloads,
                                                            const std::string& payloadName);

// A file or folder that a search of a directory finds.
struct DirectoryEntry {
  std::string name;
  bool folder = false;
  bool readOnly = false;
  std::uint64_t bytes = 0;

  // A folder or a read-only file is not the run's to delete.
  bool Deletable() const { return !folder && !readOnly; }
  bool operator==(const DirectoryEntry&) const = default;
};

// A file opened to be read back, or how opening it failed.
struct OpenedFile {
  FileOutcome outcome;
  std::unique_ptr<UncachedFile> file;
};

// The file-system steps of a transfer. Writing raises a Failure that keeps the system's error
// number; the other steps report their outcome, which the transfer counts, ignores or waits out.
class TransferFiles {
 public:
  virtual ~TransferFiles() = default;
  // Creates the file, which must not exist yet, for exclusive access and writes all of the bytes.
  // A file it made but could not fill is deleted again.
  virtual void WriteNew(const std::string& path, std::span<const std::uint8_t> bytes) = 0;
  virtual FileOutcome Delete(const std::string& path) = 0;
  // Copies, replacing an existing destination; unless replace, a taken name is kNameTaken.
  virtual FileOutcome Copy(const std::string& from, const std::string& to, bool replace) = 0;
  // Pushes whatever the system still holds of the file out to the device.
  virtual FileOutcome Flush(const std::string& path) = 0;
  // Opens the file to be read from the device past the system's cache.
  virtual OpenedFile OpenUncached(const std::string& path) = 0;
  // Whether a search of its directory finds the name; it does while a delete is pending.
  virtual bool Exists(const std::string& path) = 0;
  // What the directory holds; nothing when it cannot be searched.
  virtual std::optional<std::vector<DirectoryEntry>> List(const std::string& directory) = 0;
  // The room of the directory's volume and what its file system spends on a new name; nothing
  // when the room cannot be told.
  virtual std::optional<VolumeSpace> Space(const std::string& directory) = 0;
};

// Where a run stages the payloads and where it writes them; both directories end with their
// separator.
struct RunPlaces {
  std::string stagingDir;
  std::string destinationRoot;
  // The staging folder is on the destination's volume (the tool was started from a folder of the
  // stick): each staging file takes room there for a moment.
  bool stagingOnDestinationVolume = false;
  // Names the run's staging files, so that no two running copies of the tool share one.
  unsigned long processId = 0;
};

// A staging file's name: the tool's own, never a name of the set, so that a file the operator
// keeps beside the tool under a firmware name is never written over or deleted, and a staging
// file that cannot be deleted is never taken for firmware.
std::string StagingFileName(unsigned long processId, std::size_t number);

// Told of each file as it counts towards a run's progress: once it is on the device and once
// more when it has been read back. Staging writes do not count.
class TransferProgress {
 public:
  virtual ~TransferProgress() = default;
  virtual void FileDone(std::uint64_t bytes) = 0;
};

// How a run ended, unless a failure stopped it before it touched the device: how many files are
// on the device as they should be; or, when the device lacked room for the set, how many bytes it
// lacked (that run touched nothing). A run whose copying stopped part-way, for a full volume or a
// failure, first read back what it had copied.
struct TransferResult {
  int intactCount = 0;
  std::uint64_t shortfallBytes = 0;
  bool volumeFull = false;
  std::optional<Failure> stoppedBy = std::nullopt;
  // The files, in catalogue order, that did not arrive whole and could not be deleted: the only
  // ones under the set's names the run may have left wrong.
  std::vector<std::string> undeletable = {};
};

// How the copying of a set ended: the entries whose copy and flush succeeded, in catalogue
// order, and what stopped it early, if anything did.
struct CopyOutcome {
  std::vector<const CatalogueEntry*> copied;
  bool volumeFull = false;
  std::optional<Failure> stoppedBy;
};

// One run over the catalogue: each entry staged, copied into the destination root and flushed
// there, then what was copied read back. A failed step counts its entry out and the run goes on;
// a full volume, or a Failure of the staging write, stops the copying.
class SetTransfer {
 public:
  SetTransfer(const PayloadSource& payloads, TransferFiles& files, RunPlaces places, RunClock clock,
              TransferProgress* progress = nullptr);

  // Looks at the device before anything on it is touched: the files it holds under the set's
  // names and its room. Gives the bytes it lacks for the run, or 0 when the run fits or the
  // device cannot tell.
  std::uint64_t Survey();
  TransferResult Run();

  CopyOutcome CopySet();
  // Reads each copied entry back from the device and gives how many hold exactly their payload.
  // It runs only once the copying is over, so that a drive on which a later file lands on top of
  // an earlier one is caught.
  int ReadBack(const std::vector<const CatalogueEntry*>& copied);

 private:
  std::string Destination(std::size_t entry) const;
  std::string Stage(std::size_t entry, std::span<const std::uint8_t> payload);
  FileOutcome Place(std::size_t entry, const std::string& staged, bool cleared);
  void CountOut(std::size_t entry);

  const PayloadSource& payloads_;
  TransferFiles& files_;
  const RunPlaces places_;
  TransferProgress* progress_;
  HolderPatience patience_;
  HolderPatience countOutPatience_;
  // What held each entry's name in the root when the run found it.
  std::array<std::optional<DirectoryEntry>, kFirmwareSetSize> found_;
  // Whether the run's copy may have put bytes under the entry's name.
  std::array<bool, kFirmwareSetSize> wrote_{};
  std::array<bool, kFirmwareSetSize> undeletable_{};
};

// A whole run. Its first step waits for the check of the embedded payloads; a set that is not as
// built ends the run there, before any file is touched. So do a payload the executable lacks
// (ResourceNotFound for the first in catalogue order) and a device without room for the set.
TransferResult TransferFirmwareSet(const PendingIntegrity& check, const PayloadSource& payloads,
                                   TransferFiles& files, const RunPlaces& places,
                                   TransferProgress* progress = nullptr,
                                   RunClock clock = SteadyRunClock());

// The bytes of the whole set, as the payloads hold them.
std::uint64_t FirmwareSetBytes(const PayloadSource& payloads);

// The staging place is next to the executable, unless that folder is the destination root
// itself: there the staging file and the destination would be one file.
std::string StagingDirectory(const std::string& executableDir, bool executableDirIsDestination,
                             const std::string& temporaryDir);
