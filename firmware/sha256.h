#pragma once

#include <array>
#include <cstdint>
#include <span>

using Sha256Digest = std::array<std::uint8_t, 32>;

// SHA-256 of a span of bytes. The tool takes it from the system; tests stand a fake in its place.
class Sha256Hasher {
 public:
  virtual ~Sha256Hasher() = default;
  virtual Sha256Digest Hash(std::span<const std::uint8_t> bytes) const = 0;
};
