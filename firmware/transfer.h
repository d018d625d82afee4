#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/failure.h"
#include "base/transfer_progress.h"
#include "firmware/catalogue.h"
#include "firmware/holder_patience.h"
#include "firmware/integrity.h"
#include "firmware/payload_source.h"
#include "firmware/read_back.h"
#include "firmware/room_check.h"
#include "firmware/system_errors.h"

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

// The entry of the listing that bears the name, whatever its case; nullptr when none does.
const DirectoryEntry* FindIgnoringCase(const std::vector<DirectoryEntry>& listed,
                                       std::string_view name);

// A file opened to be read back, or how opening it failed.
struct OpenedFile {
  StepOutcome outcome;
  std::unique_ptr<UncachedFile> file;
};

// How a copy ended, and whether it got as far as opening its destination for writing: from then
// on it may have put bytes under the name, whatever the outcome.
struct CopyAttempt {
  StepOutcome outcome;
  bool began = false;
};

// The file-system steps of a transfer. Writing raises a Failure that keeps the system's error
// number; the other steps report their outcome, which the transfer counts, ignores or waits out.
class TransferFiles {
 public:
  virtual ~TransferFiles() = default;
  // Creates the file, which must not exist yet, for exclusive access and writes all of the bytes.
  // A file it made but could not fill is deleted again.
  virtual void WriteNew(const std::string& path, std::span<const std::uint8_t> bytes) = 0;
  virtual StepOutcome Delete(const std::string& path) = 0;
  // Copies, replacing an existing destination; unless replace, a taken name is kNameTaken.
  virtual CopyAttempt Copy(const std::string& from, const std::string& to, bool replace) = 0;
  // Pushes whatever the system still holds of the file out to the device.
  virtual StepOutcome Flush(const std::string& path) = 0;
  // Opens the file to be read from the device past the system's cache.
  virtual OpenedFile OpenUncached(const std::string& path) = 0;
  // Whether a search of its directory finds the name (it does while a delete is pending), does
  // not, or cannot tell: a name is absent only while the drive's root still answers.
  virtual Presence LookUp(const std::string& path) = 0;
  // Whether the root folder of the drive still answers: a drive that has gone or died does not.
  virtual bool RootAnswers(const std::string& root) = 0;
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

// What became of one catalogue entry in a run, as the journal tells it.
struct EntryRecord {
  enum class Result { kNotReached, kIntact, kDifferent, kFailed };
  enum class Step { kStage, kCopy, kFlush, kReadBack };
  // What stayed under the entry's name once it counted out: nothing, because the run deleted
  // it or nothing was there; a file the run had not written, which it could not delete or was not
  // its to delete; a file of the run's own writing that it could not delete; or, where the run
  // wrote or may have written a file, neither the delete nor a search could be done, so the file
  // may stay.
  enum class Left { kNothing, kDeleted, kOldFile, kWrongFile, kUnconfirmed };

  Result result = Result::kNotReached;
  // kFailed: the step that failed and the system's error number behind it (0: none given).
  Step step = Step::kStage;
  std::uint32_t error = 0;
  // kDifferent: the first byte of the file that is not the payload's.
  std::uint64_t firstDifference = 0;
  // How long the entry's steps waited for programs that held its file.
  RunClock::Duration waited{};
  Left left = Left::kNothing;
  // kOldFile, kWrongFile, kUnconfirmed: why the delete failed.
  std::uint32_t leftError = 0;
  // The run's copy opened the name for writing, as far as the system told.
  bool began = false;
  // The run deleted the file that held the name, to make way for its copy.
  bool oldDeleted = false;
  // A read-only file or a folder held the name when the run listed the root: not the run's to
  // delete, and no copy may replace it.
  bool foundReadOnly = false;

  bool operator==(const EntryRecord&) const = default;
};

// A staging file the run could not delete, and why.
struct StagingFileLeft {
  std::string path;
  std::uint32_t error = 0;
  bool operator==(const StagingFileLeft&) const = default;
};

// How a run ended, unless a failure stopped it before it touched the device. When the device
// lacked room for the set the run touched nothing. A run whose copying stopped part-way, for a
// full volume, a drive that stopped answering or a failure, first read back what it had copied.
struct TransferResult {
  // What the run needed of the device and what it found free; nothing when it could not tell.
  std::optional<RoomCheck> room = std::nullopt;
  bool volumeFull = false;
  // After a failed step the drive's root no longer answered: the copies left were not tried.
  bool driveStoppedAnswering = false;
  std::optional<Failure> stoppedBy = std::nullopt;
  std::array<EntryRecord, kFirmwareSetSize> entries = {};
  std::vector<StagingFileLeft> stagingLeft = {};

  std::uint64_t ShortfallBytes() const { return room ? room->ShortfallBytes() : 0; }
  // How many files are on the device as they should be.
  int IntactCount() const;
  // Whether the run changed the device: deleted a file or began a copy.
  bool ChangedDevice() const;
  // The files, in catalogue order, that did not arrive whole and could not be deleted, or not
  // be told deleted: the only ones under the set's names the run may have left wrong.
  std::vector<std::string> UndeletableFiles() const;
};

// How the copying of a set ended: the entries whose copy and flush succeeded, in catalogue
// order, what stopped it early, if anything did, and the staging files that stayed.
struct CopyOutcome {
  std::vector<const CatalogueEntry*> copied;
  bool volumeFull = false;
  bool driveStoppedAnswering = false;
  std::optional<Failure> stoppedBy;
  std::vector<StagingFileLeft> stagingLeft;
};

// One run over the catalogue: each entry staged, copied into the destination root and flushed
// there, then what was copied read back. A failed step counts its entry out and the run goes on;
// a full volume, a drive that no longer answers, or a Failure of the staging write, stops the
// copying. The progress hears of each
// file once it is on the device and once more when it has been read back; staging writes do not
// count.
class SetTransfer {
 public:
  SetTransfer(const PayloadSource& payloads, TransferFiles& files, RunPlaces places, RunClock clock,
              TransferProgress* progress = nullptr);

  // Looks at the device first, then, when the set fits or the device cannot tell its room,
  // copies the set and reads it back.
  TransferResult Run();

  // What the device holds under the set's names, and whether the set fits on it; nothing when
  // the device cannot tell.
  std::optional<RoomCheck> Survey();

  CopyOutcome CopySet();
  // Reads each copied entry back from the device and gives how many hold exactly their payload.
  // It runs only once the copying is over, so that a drive on which a later file lands on top of
  // an earlier one is caught.
  int ReadBack(const std::vector<const CatalogueEntry*>& copied);

 private:
  std::string Destination(std::size_t entry) const;
  std::string Stage(std::size_t entry, std::span<const std::uint8_t> payload,
                    std::vector<StagingFileLeft>& left);
  FileOutcome Place(std::size_t entry, const std::string& staged, bool cleared);
  void Fail(std::size_t entry, EntryRecord::Step step, std::uint32_t error);
  void CountOut(std::size_t entry);

  const PayloadSource& payloads_;
  TransferFiles& files_;
  const RunPlaces places_;
  TransferProgress* progress_;
  HolderPatience patience_;
  HolderPatience countOutPatience_;
  // What held each entry's name in the root when the run listed it; the listing may have failed.
  bool listed_ = false;
  std::array<std::optional<DirectoryEntry>, kFirmwareSetSize> found_;
  // Whether the name was free right before the entry's copy: the listing did not show it, or the
  // run deleted what held it.
  std::array<bool, kFirmwareSetSize> freeBeforeCopy_{};
  std::array<EntryRecord, kFirmwareSetSize> records_{};
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
