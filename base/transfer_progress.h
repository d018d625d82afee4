#pragma once

#include <cstdint>

// Told of the bytes of each file a long job has got through, so that its progress can be shown.
class TransferProgress {
 public:
  virtual ~TransferProgress() = default;
  virtual void FileDone(std::uint64_t bytes) = 0;
};
