#include "firmware/transfer.h"

#include <algorithm>

#include "base/ascii_case.h"
#include "base/failure.h"
#include "base/texts.h"
#include "firmware/system_errors.h"

const DirectoryEntry* FindIgnoringCase(const std::vector<DirectoryEntry>& listed,
                                       std::string_view name) {
  const auto found = std::find_if(
      listed.begin(), listed.end(),
      [name](const DirectoryEntry& entry) { return SameIgnoringAsciiCase(entry.name, name); });
  return found == listed.end() ? nullptr : &*found;
}

std::string StagingFileName(unsigned long processId, std::size_t number) {
  return "~KQ" + std::to_string(processId) + "-" + std::to_string(number) + ".tmp";
}

SetTransfer::SetTransfer(const PayloadSource& payloads, TransferFiles& files, RunPlaces places,
                         RunClock clock, TransferProgress* progress)
    : payloads_(payloads),
      files_(files),
      places_(std::move(places)),
      progress_(progress),
      patience_(clock, kFirmwareCatalogue.size(), kStepBudgets),
      countOutPatience_(std::move(clock), kFirmwareCatalogue.size(), kCountOutBudgets) {}

std::string SetTransfer::Destination(std::size_t entry) const {
  return places_.destinationRoot + kFirmwareCatalogue[entry].fileName;
}

// A drive that cannot be asked (it has gone) lets the run go on: its first copy fails and says
// so.
std::optional<RoomCheck> SetTransfer::Survey() {
  const std::optional<std::vector<DirectoryEntry>> listed = files_.List(places_.destinationRoot);
  if (!listed) return std::nullopt;
  listed_ = true;
  for (std::size_t i = 0; i < kFirmwareCatalogue.size(); ++i)
    if (const DirectoryEntry* found = FindIgnoringCase(*listed, kFirmwareCatalogue[i].fileName))
      found_[i] = *found;
  const std::optional<VolumeSpace> space = files_.Space(places_.destinationRoot);
  if (!space) return std::nullopt;
  std::vector<EntryRoom> room;
  for (std::size_t i = 0; i < kFirmwareCatalogue.size(); ++i) {
    room.push_back({payloads_.Open(kFirmwareCatalogue[i].payloadName).size(),
                    found_[i] && found_[i]->Deletable() ? found_[i]->bytes : 0, !found_[i]});
  }
  return CheckRoom(*space, room, places_.stagingOnDestinationVolume);
}

TransferResult SetTransfer::Run() {
  TransferResult result;
  result.room = Survey();
  if (result.ShortfallBytes()) return result;
  CopyOutcome copying = CopySet();
  ReadBack(copying.copied);
  result.volumeFull = copying.volumeFull;
  result.driveStoppedAnswering = copying.driveStoppedAnswering;
  result.stoppedBy = std::move(copying.stoppedBy);
  result.stagingLeft = std::move(copying.stagingLeft);
  for (std::size_t i = 0; i < kFirmwareCatalogue.size(); ++i) {
    records_[i].waited = patience_.Waited(i) + countOutPatience_.Waited(i);
    result.entries[i] = records_[i];
  }
  return result;
}

// A full volume stops the copying at once: every later copy would fail too, and each would delete
// an old file first. A staging file on the stick that fills it counts as a full volume; one that
// fills the PC's own disk, or cannot be made at all, is a failure of its own. A drive whose root
// no longer answers after a failed step has gone or is dying: each later copy would only wait for
// the device to give up, as long as half a minute a call.
CopyOutcome SetTransfer::CopySet() {
  CopyOutcome outcome;
  for (std::size_t i = 0; i < kFirmwareCatalogue.size(); ++i) {
    const CatalogueEntry& entry = kFirmwareCatalogue[i];
    const std::span<const std::uint8_t> payload = payloads_.Open(entry.payloadName);
    std::string staged;
    try {
      staged = Stage(i, payload, outcome.stagingLeft);
    } catch (const Failure& failure) {
      Fail(i, EntryRecord::Step::kStage, failure.SystemError());
      if (places_.stagingOnDestinationVolume &&
          OutcomeOfSystemError(failure.SystemError()) == FileOutcome::kVolumeFull)
        outcome.volumeFull = true;
      else
        outcome.stoppedBy = failure;
      return outcome;
    }
    // Clearing the old file first lets the copy decide on its own whether the entry made it.
    const bool cleared =
        patience_.Persist(i, [&] { return files_.Delete(Destination(i)); }) == FileOutcome::kDone;
    records_[i].foundReadOnly = found_[i] && !found_[i]->Deletable();
    const FileOutcome placed = Place(i, staged, cleared);
    if (placed == FileOutcome::kDone) {
      outcome.copied.push_back(&entry);
      if (progress_) progress_->FileDone(payload.size());
    } else {
      CountOut(i);
    }
    const StepOutcome unstaged = patience_.Persist(i, [&] { return files_.Delete(staged); });
    if (unstaged != FileOutcome::kDone) outcome.stagingLeft.push_back({staged, unstaged.error});
    if (placed == FileOutcome::kVolumeFull) {
      outcome.volumeFull = true;
      return outcome;
    }
    if (placed != FileOutcome::kDone && !files_.RootAnswers(places_.destinationRoot)) {
      outcome.driveStoppedAnswering = true;
      return outcome;
    }
  }
  return outcome;
}

// Each entry tries the number of its place in the catalogue first; a name something else already
// has, a file left by an earlier run perhaps, is passed over for the next number. A write that
// fails is meant to take its file with it; a file found under the name afterwards is this run's,
// the name having been free, and is deleted or noted.
std::string SetTransfer::Stage(std::size_t entry, std::span<const std::uint8_t> payload,
                               std::vector<StagingFileLeft>& left) {
  std::size_t number = entry + 1;
  std::string staged;
  do {
    staged = places_.stagingDir + StagingFileName(places_.processId, number++);
  } while (files_.LookUp(staged) == Presence::kPresent);
  try {
    files_.WriteNew(staged, payload);
  } catch (const Failure&) {
    if (files_.LookUp(staged) == Presence::kPresent) {
      const StepOutcome deleted = files_.Delete(staged);
      if (deleted != FileOutcome::kDone) left.push_back({staged, deleted.error});
    }
    throw;
  }
  return staged;
}

// Once the run has deleted the old file, its name stays only while another program holds that
// file open: the delete is pending and completes when the holder lets go. Windows refuses a copy
// to such a name as access denied; Wine would let the copy write into the file on its way out.
// So the copy asks for a free name then, and the name still found is waited out. Access denied
// for any other reason (a read-only file the run could not delete, a policy against writing)
// fails at once.
FileOutcome SetTransfer::Place(std::size_t entry, const std::string& staged, bool cleared) {
  const std::string destination = Destination(entry);
  const auto pendingOrHeld = [&](FileOutcome outcome) {
    const bool nameStayed = outcome == FileOutcome::kDenied || outcome == FileOutcome::kNameTaken;
    return IsHeld(outcome) ||
           (cleared && nameStayed && files_.LookUp(destination) == Presence::kPresent);
  };
  EntryRecord& record = records_[entry];
  const auto copy = [&](bool replace) {
    const CopyAttempt attempt = files_.Copy(staged, destination, replace);
    record.began = record.began || attempt.began;
    return attempt.outcome;
  };
  StepOutcome copied = patience_.Persist(
      entry, [&] { return copy(!cleared); }, pendingOrHeld);
  // A delete reported done whose name outlived the waiting never took effect: a holder keeps it
  // pending, or the medium cannot be changed and the delete's failure went untold, as under Wine.
  // Asked to replace the file, the system gives its own answer for the name.
  const bool nameOutlivedDelete =
      cleared && (copied == FileOutcome::kNameTaken || copied == FileOutcome::kDenied) &&
      files_.LookUp(destination) == Presence::kPresent;
  if (nameOutlivedDelete) copied = copy(true);
  record.oldDeleted = cleared && !nameOutlivedDelete;
  freeBeforeCopy_[entry] = record.oldDeleted || (listed_ && !found_[entry]);
  // A copy that finished, or filled the volume, wrote under the name whatever the system told.
  record.began = record.began || copied == FileOutcome::kDone || copied == FileOutcome::kVolumeFull;
  if (copied.kind != FileOutcome::kDone) {
    Fail(entry, EntryRecord::Step::kCopy, copied.error);
    return copied.kind;
  }
  // A copy the system reports as done may still sit in its cache when the drive is pulled.
  const StepOutcome flushed = patience_.Persist(entry, [&] { return files_.Flush(destination); });
  if (flushed.kind != FileOutcome::kDone) Fail(entry, EntryRecord::Step::kFlush, flushed.error);
  return flushed.kind;
}

void SetTransfer::Fail(std::size_t entry, EntryRecord::Step step, std::uint32_t error) {
  records_[entry].result = EntryRecord::Result::kFailed;
  records_[entry].step = step;
  records_[entry].error = error;
}

// An entry counted out leaves no file under its name for a terminal to take for firmware: not a
// copy cut short, nor one the device holds wrong. What the run could not delete before its copy
// (a read-only file, a folder) is left as it was found. A file that stays all the same, held by a
// program that shares no deletion or behind an error of the device, is noted for the operator
// where it is the run's own: its copy began, or the name was free before the copy and is taken,
// or cannot be shown free, after it. A copy that made its file and failed before the system told
// of it has written no less.
void SetTransfer::CountOut(std::size_t entry) {
  EntryRecord& record = records_[entry];
  if (record.foundReadOnly) {
    record.left = EntryRecord::Left::kOldFile;
    return;
  }
  const std::string destination = Destination(entry);
  // A delete is done once its name has gone: one that stays pending is waited out like a holder.
  bool deleteReported = false;
  const StepOutcome deleted = countOutPatience_.Persist(entry, [&]() -> StepOutcome {
    if (!deleteReported) {
      const StepOutcome told = files_.Delete(destination);
      if (told != FileOutcome::kDone) return told;
      deleteReported = true;
    }
    return files_.LookUp(destination) == Presence::kPresent ? FileOutcome::kHeld
                                                            : FileOutcome::kDone;
  });
  if (deleted == FileOutcome::kDone) {
    record.left = EntryRecord::Left::kDeleted;
    return;
  }
  const Presence presence = files_.LookUp(destination);
  if (presence == Presence::kAbsent) return;
  if (record.began || freeBeforeCopy_[entry])
    record.left = presence == Presence::kPresent ? EntryRecord::Left::kWrongFile
                                                 : EntryRecord::Left::kUnconfirmed;
  else if (presence == Presence::kPresent)
    record.left = EntryRecord::Left::kOldFile;
  else
    return;
  record.leftError = deleted.error;
}

int SetTransfer::ReadBack(const std::vector<const CatalogueEntry*>& copied) {
  ReadBackCheck check;
  int intact = 0;
  for (const CatalogueEntry* entry : copied) {
    const auto i = static_cast<std::size_t>(entry - kFirmwareCatalogue.data());
    std::unique_ptr<UncachedFile> file;
    const StepOutcome opened = patience_.Persist(i, [&] {
      OpenedFile found = files_.OpenUncached(Destination(i));
      file = std::move(found.file);
      return found.outcome;
    });
    const std::span<const std::uint8_t> expected = payloads_.Open(entry->payloadName);
    EntryRecord& record = records_[i];
    if (!file) {
      Fail(i, EntryRecord::Step::kReadBack, opened.error);
    } else if (const auto differs = check.FirstDifference(*file, expected)) {
      record.result = EntryRecord::Result::kDifferent;
      record.firstDifference = *differs;
    } else {
      record.result = EntryRecord::Result::kIntact;
      ++intact;
    }
    if (record.result != EntryRecord::Result::kIntact) {
      file.reset();
      CountOut(i);
    }
    if (progress_) progress_->FileDone(expected.size());
  }
  return intact;
}

int TransferResult::IntactCount() const {
  return static_cast<int>(std::count_if(entries.begin(), entries.end(), [](const EntryRecord& e) {
    return e.result == EntryRecord::Result::kIntact;
  }));
}

bool TransferResult::ChangedDevice() const {
  return std::any_of(entries.begin(), entries.end(), [](const EntryRecord& e) {
    return e.began || e.oldDeleted || e.left == EntryRecord::Left::kDeleted;
  });
}

std::vector<std::string> TransferResult::UndeletableFiles() const {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (entries[i].left == EntryRecord::Left::kWrongFile ||
        entries[i].left == EntryRecord::Left::kUnconfirmed)
      names.push_back(kFirmwareCatalogue[i].fileName);
  return names;
}

TransferResult TransferFirmwareSet(const PendingIntegrity& check, const PayloadSource& payloads,
                                   TransferFiles& files, const RunPlaces& places,
                                   TransferProgress* progress, RunClock clock) {
  AwaitIntactFirmwareSet(check, kDamagedNothingWritten);
  // A copy that lacks a payload would write only the entries before it.
  for (const CatalogueEntry& entry : kFirmwareCatalogue) payloads.Open(entry.payloadName);
  return SetTransfer(payloads, files, places, std::move(clock), progress).Run();
}

// A payload the executable lacks counts nothing: the run stops before it touches a file.
std::uint64_t FirmwareSetBytes(const PayloadSource& payloads) {
  std::uint64_t total = 0;
  for (const CatalogueEntry& entry : kFirmwareCatalogue) {
    if (const auto bytes = CarriedPayload(payloads, entry.payloadName)) total += bytes->size();
  }
  return total;
}

std::string StagingDirectory(const std::string& executableDir, bool executableDirIsDestination,
                             const std::string& temporaryDir) {
  return executableDirIsDestination ? temporaryDir : executableDir;
}
