#include "firmware/firmware_writer_win.h"

#include <chrono>
#include <exception>
#include <memory>

#include "app/error_report.h"
#include "firmware/payloads_win.h"
#include "firmware/transfer.h"
#include "firmware/transfer_files_win.h"

namespace {

constexpr std::chrono::milliseconds kProgressInterval{100};

// Counts the bytes done and tells the window, which reads the count when it gets round to it.
// It tells at most once a kProgressInterval: the bar still moves file by file on a slow drive,
// and a fast run does not wake the window for every file.
class PostedProgress : public TransferProgress {
 public:
  PostedProgress(HWND window, std::atomic<std::uint64_t>& bytesDone)
      : window_(window), bytesDone_(bytesDone) {}
  void FileDone(std::uint64_t bytes) override {
    bytesDone_ += bytes;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastTold_ < kProgressInterval) return;
    lastTold_ = now;
    PostMessageW(window_, kFirmwareRunProgress, 0, 0);
  }

 private:
  HWND window_;
  std::atomic<std::uint64_t>& bytesDone_;
  std::chrono::steady_clock::time_point lastTold_ = std::chrono::steady_clock::now();
};

// The run itself, as the worker does it, from the wait for the check of the embedded payloads on.
// A failure raised anywhere in it comes back as the box that reports it, for the window to show.
FirmwareRunOutcome WriteSet(const FirmwareJob& job, TransferProgress& progress) {
  FirmwareRunOutcome outcome{job.places.destinationRoot};
  try {
    ResourcePayloads payloads;
    WinTransferFiles files;
    const TransferResult result =
        TransferFirmwareSet(job.check, payloads, files, job.places, &progress);
    outcome.intactCount = result.IntactCount();
    outcome.shortfallBytes = result.ShortfallBytes();
    outcome.volumeFull = result.volumeFull;
    outcome.undeletable = result.UndeletableFiles();
    if (result.stoppedBy) outcome.failure = FailureReport(*result.stoppedBy);
  } catch (const std::exception& failure) {
    outcome.failure = FailureReport(failure);
  }
  return outcome;
}

}  // namespace

void FirmwareWriter::Start(HWND window, FirmwareJob job) {
  bytesDone_ = 0;
  worker_ = std::jthread([this, window, job = std::move(job)] {
    PostedProgress progress(window, bytesDone_);
    auto outcome = std::make_unique<FirmwareRunOutcome>(WriteSet(job, progress));
    if (PostMessageW(window, kFirmwareRunFinished, 0, reinterpret_cast<LPARAM>(outcome.get())))
      outcome.release();
  });
}

// The worker has nothing left to do but end, which takes the system a moment: it is joined when
// the next run starts or the writer goes, not before the run's box.
FirmwareRunOutcome FirmwareWriter::Finish(LPARAM carried) {
  const std::unique_ptr<FirmwareRunOutcome> outcome(reinterpret_cast<FirmwareRunOutcome*>(carried));
  return std::move(*outcome);
}
