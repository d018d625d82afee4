#include "firmware/firmware_writer_win.h"

#include <chrono>
#include <exception>

#include "base/error_report.h"
#include "base/file_places_win.h"
#include "base/text_win.h"
#include "firmware/firmware_journal.h"
#include "firmware/payloads_win.h"
#include "firmware/transfer_files_win.h"
#include "journal/journal_facts_win.h"

namespace {

std::vector<std::uint64_t> PayloadBytes(const PayloadSource& payloads) {
  std::vector<std::uint64_t> bytes;
  for (const CatalogueEntry& entry : kFirmwareCatalogue) {
    const auto payload = CarriedPayload(payloads, entry.payloadName);
    bytes.push_back(payload ? payload->size() : 0);
  }
  return bytes;
}

// Run from the drive root itself, each staging file would be its own destination, and clearing
// the destination would take the staged file and the drive's old copy with it. Where the user
// keeps the temporary folder on the stick, staging there takes its room too.
RunPlaces PlacesOf(const FirmwareJob& job) {
  const DirectoryRelation executable = RelateDirectories(job.executableDir, job.driveRoot);
  const std::string stagingDir =
      StagingDirectory(job.executableDir, executable.sameDirectory, TemporaryDirectory());
  const bool stagingOnDrive =
      (executable.sameDirectory ? RelateDirectories(stagingDir, job.driveRoot) : executable)
          .sameVolume;
  return {stagingDir, job.driveRoot, stagingOnDrive, job.processId};
}

}  // namespace

// The journal takes what the run found out on its way; the facts of the drive are read before
// the run and once more after it, outside its own steps.
FirmwareRunOutcome WriteFirmwareJob(const FirmwareJob& job, TransferProgress& progress) {
  const auto started = std::chrono::steady_clock::now();
  const std::string& root = job.driveRoot;
  const RunPlaces places = PlacesOf(job);
  const ResourcePayloads payloads;
  RunJournal journal{GatherHeading(), places.stagingDir, GatherDriveFacts(root)};
  FirmwareRunOutcome outcome{root};
  try {
    WinTransferFiles files;
    TransferResult result = TransferFirmwareSet(job.check, payloads, files, places, &progress);
    outcome = OutcomeOfRun(root, result);
    if (result.stoppedBy) outcome.failure = FailureReport(*result.stoppedBy);
    journal.transfer = std::move(result);
  } catch (const std::exception& failure) {
    outcome.failure = FailureReport(failure);
  }
  journal.integrity = job.check.get().firmwareSet;
  if (const auto after = GatherDriveFacts(root)) journal.freeAfter = after->freeBytes;
  journal.payloadBytes = PayloadBytes(payloads);
  journal.boxes = FirmwareRunReport(outcome);
  journal.duration = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - started);
  AddToJournal(RunBlock(journal, SystemErrorText));
  return outcome;
}
