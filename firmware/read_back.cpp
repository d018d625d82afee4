#include "firmware/read_back.h"

#include <algorithm>
#include <new>

void FreeSectorAligned::operator()(std::uint8_t* bytes) const {
  operator delete[](bytes, std::align_val_t{kSectorMultiple});
}

SectorAlignedBytes AllocateSectorAligned(std::size_t bytes) {
  const std::size_t rounded = (bytes + kSectorMultiple - 1) / kSectorMultiple * kSectorMultiple;
  return SectorAlignedBytes(new (std::align_val_t{kSectorMultiple})
                                std::uint8_t[std::max(rounded, kSectorMultiple)]);
}

ReadBackCheck::ReadBackCheck() : buffer_(AllocateSectorAligned(kReadBackBufferSize)) {}

std::optional<std::uint64_t> ReadBackCheck::FirstDifference(
    UncachedFile& file, std::span<const std::uint8_t> expected) {
  const std::optional<std::uint64_t> length = file.Length();
  if (!length) return 0;
  std::size_t done = 0;
  while (done < expected.size()) {
    // The last read asks for the rest rounded up to whole sectors; the file ends before that.
    const std::size_t rest = expected.size() - done;
    const std::size_t ask = std::min(
        kReadBackBufferSize, (rest + kSectorMultiple - 1) / kSectorMultiple * kSectorMultiple);
    const std::optional<std::size_t> got = file.Read({buffer_.get(), ask});
    if (!got) return done;
    const std::size_t compared = std::min(*got, rest);
    const std::uint8_t* const differs =
        std::mismatch(buffer_.get(), buffer_.get() + compared, expected.data() + done).first;
    if (differs != buffer_.get() + compared) return done + (differs - buffer_.get());
    // A file that ends early or runs on past its length has changed under the check.
    if (*got == 0 || *got > rest || (*got < ask && *got != rest)) return done + compared;
    done += *got;
  }
  if (*length != expected.size()) return std::min<std::uint64_t>(*length, expected.size());
  return std::nullopt;
}
