#include "app/worker_win.h"

namespace {

constexpr std::chrono::milliseconds kProgressInterval{100};

}  // namespace

void Worker::PostedProgress::FileDone(std::uint64_t bytes) {
  bytesDone_ += bytes;
  const auto now = std::chrono::steady_clock::now();
  if (now - lastTold_ < kProgressInterval) return;
  lastTold_ = now;
  PostMessageW(window_, kWorkProgress, 0, 0);
}
