#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <stop_token>
#include <thread>

#include "firmware/transfer.h"

// Posted by a worker to the window it works for as the files it goes through count towards the
// progress; the window reads the count when it gets round to it.
inline constexpr UINT kWorkProgress = WM_APP + 1;

// Long work on a thread of its own, one job at a time. The thread touches no window; it only
// posts to the one it was given and shares nothing with the window's thread but the count of
// bytes done. A job asked to stop, as when the window goes, may end early.
class Worker {
 public:
  template <typename Outcome>
  using Job = std::function<Outcome(const std::stop_token&, TransferProgress&)>;

  // Runs the job, then posts `finished` with a new Outcome in lParam, which the window takes
  // over through Finish. An outcome no window is left to take is freed.
  template <typename Outcome>
  void Start(HWND window, UINT finished, Job<Outcome> job) {
    bytesDone_ = 0;
    thread_ = std::jthread([this, window, finished, job = std::move(job)](std::stop_token stop) {
      PostedProgress progress(window, bytesDone_);
      auto outcome = std::make_unique<Outcome>(job(stop, progress));
      if (PostMessageW(window, finished, 0, reinterpret_cast<LPARAM>(outcome.get())))
        outcome.release();
    });
  }

  std::uint64_t BytesDone() const { return bytesDone_.load(); }

  // The thread has nothing left to do but end, which takes the system a moment: it is joined when
  // the next job starts or the worker goes, not before the window shows the outcome.
  template <typename Outcome>
  static Outcome Finish(LPARAM carried) {
    const std::unique_ptr<Outcome> outcome(reinterpret_cast<Outcome*>(carried));
    return std::move(*outcome);
  }

 private:
  // Counts the bytes done and tells the window at most once a 100 ms: the bar still moves file
  // by file on a slow drive, and a fast job does not wake the window for every file.
  class PostedProgress : public TransferProgress {
   public:
    PostedProgress(HWND window, std::atomic<std::uint64_t>& bytesDone)
        : window_(window), bytesDone_(bytesDone) {}
    void FileDone(std::uint64_t bytes) override;

   private:
    HWND window_;
    std::atomic<std::uint64_t>& bytesDone_;
    std::chrono::steady_clock::time_point lastTold_ = std::chrono::steady_clock::now();
  };

  std::atomic<std::uint64_t> bytesDone_{0};
  std::jthread thread_;
};
