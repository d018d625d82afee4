#include "firmware/transfer.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "app/failure.h"

namespace {

bool SameName(const std::string& found, const char* name) {
  return std::equal(found.begin(), found.end(), name, name + std::strlen(name), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  });
}

}  // namespace

SetTransfer::SetTransfer(const PayloadSource& payloads, TransferFiles& files, RunPlaces places,
                         RunClock clock, TransferProgress* progress)
    : payloads_(payloads),
      files_(files),
      places_(std::move(places)),
      progress_(progress),
      patience_(std::move(clock), kFirmwareCatalogue.size()) {}

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
    const CatalogueEntry& entry = kFirmwareCatalogue[i];
    // A payload the executable lacks stops the run at its entry, which then writes nothing.
    const auto payload = CarriedPayload(payloads_, entry.payloadName);
    room.push_back({payload ? payload->size() : 0,
                    found_[i] && found_[i]->Deletable() ? found_[i]->bytes : 0, !found_[i]});
  }
  return RoomShortfall(*space, room, places_.stagingOnDestinationVolume);
}

std::vector<const CatalogueEntry*> SetTransfer::CopySet() {
  std::vector<const CatalogueEntry*> copied;
  for (std::size_t i = 0; i < kFirmwareCatalogue.size(); ++i) {
    const CatalogueEntry& entry = kFirmwareCatalogue[i];
    const std::string staged = places_.stagingDir + entry.fileName;
    const std::span<const std::uint8_t> payload = payloads_.Open(entry.payloadName);
    files_.WriteWhole(staged, payload);
    // Clearing the old file first lets the copy decide on its own whether the entry made it.
    const bool cleared = patience_.Persist(i, [&] { return files_.Delete(Destination(i)); });
    if (Place(i, staged, cleared)) {
      copied.push_back(&entry);
      if (progress_) progress_->FileDone(payload.size());
    } else {
      CountOut(i);
    }
    files_.Delete(staged);
  }
  return copied;
}

// Once the run has deleted the old file, its name stays only while another program holds that
// file open: the delete is pending and completes when the holder lets go. Windows refuses a copy
// to such a name as access denied; Wine would let the copy write into the file on its way out.
// So the copy asks for a free name then, and the name still found is waited out. Access denied
// for any other reason (a read-only file the run could not delete, a policy against writing)
// fails at once.
bool SetTransfer::Place(std::size_t entry, const std::string& staged, bool cleared) {
  const std::string destination = Destination(entry);
  const auto pendingOrHeld = [&](FileOutcome outcome) {
    const bool nameStayed = outcome == FileOutcome::kDenied || outcome == FileOutcome::kNameTaken;
    return IsHeld(outcome) || (cleared && nameStayed && files_.Exists(destination));
  };
  if (!patience_.Persist(
          entry, [&] { return files_.Copy(staged, destination, !cleared); }, pendingOrHeld))
    return false;
  // A copy the system reports as done may still sit in its cache when the drive is pulled.
  return patience_.Persist(entry, [&] { return files_.Flush(destination); });
}

// An entry counted out leaves no file under its name for a terminal to take for firmware: not a
// copy cut short, nor one the device holds wrong. What the run could not delete before its copy
// (a read-only file, a folder) is left as it was found.
void SetTransfer::CountOut(std::size_t entry) {
  if (found_[entry] && !found_[entry]->Deletable()) return;
  patience_.Persist(entry, [&] { return files_.Delete(Destination(entry)); });
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
  SetTransfer transfer(payloads, files, places, std::move(clock), progress);
  if (const std::uint64_t shortfall = transfer.Survey()) return {0, shortfall};
  return {transfer.ReadBack(transfer.CopySet()), 0};
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
