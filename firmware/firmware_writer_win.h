#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "firmware/integrity.h"
#include "firmware/run_report.h"
#include "firmware/transfer.h"

// Posted by a write run's worker to the window that started it: after each file that counts
// towards the progress, and once at its end with the run's outcome, a FirmwareRunOutcome that
// the window takes over through FirmwareWriter::Finish, in lParam.
inline constexpr UINT kFirmwareRunProgress = WM_APP + 1;
inline constexpr UINT kFirmwareRunFinished = WM_APP + 2;

// What a write run works with, copied to its worker when it starts.
struct FirmwareJob {
  RunPlaces places;
  // The check of the embedded payloads made at start, whose verdict the run waits for.
  PendingIntegrity check;
};

// The worker thread of a write run. It touches no window; it only posts to the one it was given.
// Apart from the count of bytes done it shares nothing with the window's thread.
class FirmwareWriter {
 public:
  void Start(HWND window, FirmwareJob job);
  // The bytes of the files copied to the drive and read back so far.
  std::uint64_t BytesDone() const { return bytesDone_.load(); }
  // Takes over the outcome that kFirmwareRunFinished carried.
  FirmwareRunOutcome Finish(LPARAM carried);

 private:
  std::atomic<std::uint64_t> bytesDone_{0};
  std::jthread worker_;
};
