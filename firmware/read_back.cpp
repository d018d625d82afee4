#include "firmware/read_back.h"

#include <algorithm>
#include <cstring>
#include <new>

ReadBackCheck::ReadBackCheck()
    : buffer_(new (std::align_val_t{kSectorMultiple}) std::uint8_t[kReadBackBufferSize]) {}

void ReadBackCheck::FreeAligned::operator()(std::uint8_t* buffer) const {
  operator delete[](buffer, std::align_val_t{kSectorMultiple});
}

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
    // Compared whole first, the fastest way; only a buffer that differs is searched for where.
    if (std::memcmp(buffer_.get(), expected.data() + done, compared) != 0)
      return done +
             (std::mismatch(buffer_.get(), buffer_.get() + compared, expected.data() + done).first -
              buffer_.get());
    // A file that ends early or runs on past its length has changed under the check.
    if (*got == 0 || *got > rest || (*got < ask && *got != rest)) return done + compared;
    done += *got;
  }
  if (*length != expected.size()) return std::min<std::uint64_t>(*length, expected.size());
  return std::nullopt;
}
