#include "firmware/transfer.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "app/failure.h"
#include "firmware/system_errors.h"

namespace {

bool SameName(const std::string& found, const char* name) {
  return std::equal(found.begin(), found.end(), name, name + std::strlen(name), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  });
}

}  // namespace

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

// A drive that cannot be asked (it has gone) lets the run go on: its copies fail and say so.
std::uint64_t SetTransfer::Survey() {
  const std::optional<std::vector<DirectoryEntry>> listed = files_.List(places_.destinationRoot);
  if (!listed) return 0;
  for (std::size_t i = 0; i < kFirmwareCatalogue.size(); ++i) {
    const auto found = std::find_if(listed->begin(), listed->end(), [&](const DirectoryEntry& f) {
      return SameName(f.name, kFirmwareCatalogue[i].fileName);
    });
    if (found != listed->end()) found_[i] = *found;
  }
  const std::optional<VolumeSpace> space = files_.Space(places_.destinationRoot);
  if (!space) return 0;
  std::vector<EntryRoom> room;
  for (std::size_t i = 0; i < kFirmwareCatalogue.size(); ++i) {
    room.push_back({payloads_.Open(kFirmwareCatalogue[i].payloadName).size(),
                    found_[i] && found_[i]->Deletable() ? found_[i]->bytes : 0, !found_[i]});
  }
  return RoomShortfall(*space, room, places_.stagingOnDestinationVolume);
}

TransferResult SetTransfer::Run() {
  CopyOutcome copying = CopySet();
  TransferResult result;
  result.intactCount = ReadBack(copying.copied);
  result.volumeFull = copying.volumeFull;
  result.stoppedBy = std::move(copying.stoppedBy);
  for (std::size_t i = 0; i < kFirmwareCatalogue.size(); ++i)
    if (undeletable_[i]) result.undeletable.push_back(kFirmwareCatalogue[i].fileName);
  return result;
}

// A full volume stops the copying at once: every later copy would fail too, and each would delete
// an old file first. A staging file on the stick that fills it counts as a full volume; one that
// fills the PC's own disk, or cannot be made at all, is a failure of its own.
CopyOutcome SetTransfer::CopySet() {
  CopyOutcome outcome;
  for (std::size_t i = 0; i < kFirmwareCatalogue.size(); ++i) {
    const CatalogueEntry& entry = kFirmwareCatalogue[i];
    const std::span<const std::uint8_t> payload = payloads_.Open(entry.payloadName);
    std::string staged;
    try {
      staged = Stage(i, payload);
    } catch (const Failure& failure) {
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
    const FileOutcome placed = Place(i, staged, cleared);
    if (placed == FileOutcome::kDone) {
      outcome.copied.push_back(&entry);
      if (progress_) progress_->FileDone(payload.size());
    } else {
      CountOut(i);
    }
    patience_.Persist(i, [&] { return files_.Delete(staged); });
    if (placed == FileOutcome::kVolumeFull) {
      outcome.volumeFull = true;
      return outcome;
    }
  }
  return outcome;
}

// Each entry tries the number of its place in the catalogue first; a name something else already
// has, a file left by an earlier run perhaps, is passed over for the next number.
std::string SetTransfer::Stage(std::size_t entry, std::span<const std::uint8_t> payload) {
  std::size_t number = entry + 1;
  std::string staged;
  do {
    staged = places_.stagingDir + StagingFileName(places_.processId, number++);
  } while (files_.Exists(staged));
  files_.WriteNew(staged, payload);
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
    return IsHeld(outcome) || (cleared && nameStayed && files_.Exists(destination));
  };
  const FileOutcome copied = patience_.Persist(
      entry, [&] { return files_.Copy(staged, destination, !cleared); }, pendingOrHeld);
  // A copy that failed on its way may leave what it wrote under the name; one that was shut out
  // wrote nothing.
  wrote_[entry] = copied == FileOutcome::kDone || copied == FileOutcome::kFailed ||
                  copied == FileOutcome::kVolumeFull;
  if (copied != FileOutcome::kDone) return copied;
  // A copy the system reports as done may still sit in its cache when the drive is pulled.
  return patience_.Persist(entry, [&] { return files_.Flush(destination); });
}

// An entry counted out leaves no file under its name for a terminal to take for firmware: not a
// copy cut short, nor one the device holds wrong. What the run could not delete before its copy
// (a read-only file, a folder) is left as it was found. A file of the run's own writing that
// stays all the same, held by a program that shares no deletion or behind an error of the
// device, is noted for the operator.
void SetTransfer::CountOut(std::size_t entry) {
  if (found_[entry] && !found_[entry]->Deletable()) return;
  const std::string destination = Destination(entry);
  if (countOutPatience_.Persist(entry, [&] { return files_.Delete(destination); }) !=
          FileOutcome::kDone &&
      wrote_[entry] && files_.Exists(destination))
    undeletable_[entry] = true;
}

int SetTransfer::ReadBack(const std::vector<const CatalogueEntry*>& copied) {
  ReadBackCheck check;
  int intact = 0;
  for (const CatalogueEntry* entry : copied) {
    const auto i = static_cast<std::size_t>(entry - kFirmwareCatalogue.data());
    std::unique_ptr<UncachedFile> file;
    patience_.Persist(i, [&] {
      OpenedFile opened = files_.OpenUncached(Destination(i));
      file = std::move(opened.file);
      return opened.outcome;
    });
    const std::span<const std::uint8_t> expected = payloads_.Open(entry->payloadName);
    if (file && check.Matches(*file, expected)) {
      ++intact;
    } else {
      file.reset();
      CountOut(i);
    }
    if (progress_) progress_->FileDone(expected.size());
  }
  return intact;
}

TransferResult TransferFirmwareSet(const PendingIntegrity& check, const PayloadSource& payloads,
                                   TransferFiles& files, const RunPlaces& places,
                                   TransferProgress* progress, RunClock clock) {
  AwaitIntactFirmwareSet(check);
  // A copy that lacks a payload would write only the entries before it.
  for (const CatalogueEntry& entry : kFirmwareCatalogue) payloads.Open(entry.payloadName);
  SetTransfer transfer(payloads, files, places, std::move(clock), progress);
  if (const std::uint64_t shortfall = transfer.Survey()) return {0, shortfall};
  return transfer.Run();
}

// A payload the executable lacks counts nothing: the run stops before it touches a file.
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
