#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "firmware/read_back.h"

// A file read back from memory that can misstate its length or fail a read, and that notes
// every buffer it is handed.
class MemoryFile : public UncachedFile {
 public:
  explicit MemoryFile(std::vector<std::uint8_t> bytes)
      : length(bytes.size()), bytes_(std::move(bytes)) {}

  std::optional<std::uint64_t> Length() override { return length; }
  std::optional<std::size_t> Read(std::span<std::uint8_t> buffer) override {
    buffers.push_back(buffer);
    if (buffers.size() == failingRead) return std::nullopt;
    const std::size_t count = std::min(buffer.size(), bytes_.size() - position_);
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(position_), count, buffer.begin());
    position_ += count;
    return count;
  }

  std::optional<std::uint64_t> length;
  std::size_t failingRead = 0;  // counted from 1; 0 fails none
  std::vector<std::span<std::uint8_t>> buffers;

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t position_ = 0;
};
