#include "app/worker_win.h"

#include <memory>

namespace {

constexpr std::chrono::milliseconds kProgressInterval{100};

}  // namespace

void Worker::Start(HWND window, WorkerJob job) {
  bytesDone_ = 0;
  thread_ = std::jthread([this, window, job = std::move(job)](std::stop_token stop) {
    PostedProgress progress(window, bytesDone_);
    auto report = std::make_unique<WorkReport>(job(stop, progress));
    if (PostMessageW(window, kWorkFinished, 0, reinterpret_cast<LPARAM>(report.get())))
      report.release();
  });
}

WorkReport Worker::Finish(LPARAM carried) {
  const std::unique_ptr<WorkReport> report(reinterpret_cast<WorkReport*>(carried));
  return std::move(*report);
}

void Worker::PostedProgress::FileDone(std::uint64_t bytes) {
  bytesDone_ += bytes;
  const auto now = std::chrono::steady_clock::now();
  if (now - lastTold_ < kProgressInterval) return;
  lastTold_ = now;
  PostMessageW(window_, kWorkProgress, 0, 0);
}
