#include "firmware/read_back.h"

#include <algorithm>
#include <cstring>
#include <new>

ReadBackCheck::ReadBackCheck()
    : buffer_(new (std::align_val_t{kSectorMultiple}) std::uint8_t[kReadBackBufferSize]) {}

void ReadBackCheck::FreeAligned::operator()(std::uint8_t* buffer) const {
  operator delete[](buffer, std::align_val_t{kSectorMultiple});
}

bool ReadBackCheck::Matches(UncachedFile& file, std::span<const std::uint8_t> expected) {
  if (file.Length() != expected.size()) return false;
  std::size_t done = 0;
  while (done < expected.size()) {
    // The last read asks for the rest rounded up to whole sectors; the file ends before that.
    const std::size_t rest = expected.size() - done;
    const std::size_t ask = std::min(
        kReadBackBufferSize, (rest + kSectorMultiple - 1) / kSectorMultiple * kSectorMultiple);
    const std::optional<std::size_t> got = file.Read({buffer_.get(), ask});
    // A file that ends early or runs on past its length has changed under the check.
    if (!got || *got == 0 || *got > rest || (*got < ask && *got != rest)) return false;
    if (std::memcmp(buffer_.get(), expected.data() + done, *got) != 0) return false;
    done += *got;
  }
  return true;
}
