#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

// One file opened to be read from the device itself, past the system's cache.
class UncachedFile {
 public:
  virtual ~UncachedFile() = default;
  // The file's length on the device; nothing when it cannot be told.
  virtual std::optional<std::uint64_t> Length() = 0;
  // Reads the next bytes of the file into the buffer, whose address and size are multiples of
  // kSectorMultiple. Gives how many came (fewer than asked only at the end of the file), or
  // nothing when the read failed.
  virtual std::optional<std::size_t> Read(std::span<std::uint8_t> buffer) = 0;
};

// Unbuffered reads want sector-aligned addresses and lengths; 4096 is a multiple of every
// sector size drives use.
inline constexpr std::size_t kSectorMultiple = 4096;
inline constexpr std::size_t kReadBackBufferSize = 256 * 1024;

// Compares files read back from the device with the bytes they must hold. It owns one
// sector-aligned buffer of kReadBackBufferSize bytes, allocated once and reused for every file,
// so the check never holds more of the set than that.
class ReadBackCheck {
 public:
  ReadBackCheck();
  // Nothing when the file holds exactly the expected bytes; otherwise the offset of the first
  // byte that could not be confirmed: one that differs, or where the file ended, ran on or
  // could no longer be read.
  std::optional<std::uint64_t> FirstDifference(UncachedFile& file,
                                               std::span<const std::uint8_t> expected);

 private:
  struct FreeAligned {
    void operator()(std::uint8_t* buffer) const;
  };
  std::unique_ptr<std::uint8_t[], FreeAligned> buffer_;
};
