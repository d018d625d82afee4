#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

#include "base/tool_window_win.h"
#include "base/transfer_progress.h"

// Posted by a worker to the window it works for as the files it goes through count towards the
// progress; the window reads the count when it gets round to it.
inline constexpr UINT kWorkProgress = WM_APP + 1;
// Posted by a worker to the window it works for at a job's end, with a new WorkReport in lParam,
// which the window takes over through Worker::Finish.
inline constexpr UINT kWorkFinished = WM_APP + 2;

// Long work on a thread of its own, one job at a time. The thread touches no window; it only
// posts to the one it was given and shares nothing with the window's thread but the count of
// bytes done. A job asked to stop, as when the window goes, may end early.
class Worker {
 public:
  // Runs the job, then posts kWorkFinished to the window. A report no window is left to take is
  // freed.
  void Start(HWND window, WorkerJob job);

  std::uint64_t BytesDone() const { return bytesDone_.load(); }

  // The thread has nothing left to do but end, which takes the system a moment: it is joined when
  // the next job starts or the worker goes, not before the window shows the outcome.
  static WorkReport Finish(LPARAM carried);

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
