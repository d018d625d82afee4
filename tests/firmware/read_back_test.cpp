#include "firmware/read_back.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/memory_file.h"

namespace {

std::vector<std::uint8_t> Pattern(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 31 + i / 251);
  return bytes;
}

TEST(ReadBackCheck, MatchesThroughOneAlignedBufferWhateverTheLength) {
  ReadBackCheck check;
  const std::uint8_t* firstBuffer = nullptr;
  for (std::size_t size : {std::size_t{1}, kSectorMultiple - 1, kSectorMultiple,
                           kSectorMultiple + 1, kReadBackBufferSize - 1, kReadBackBufferSize,
                           kReadBackBufferSize + 1, std::size_t{482'836}, std::size_t{1'000'000}}) {
    const std::vector<std::uint8_t> payload = Pattern(size);
    MemoryFile file(payload);
    ASSERT_EQ(check.FirstDifference(file, payload), std::nullopt) << size;
    EXPECT_EQ(file.buffers.size(), (size + kReadBackBufferSize - 1) / kReadBackBufferSize) << size;
    std::size_t asked = 0;
    for (const std::span<std::uint8_t> buffer : file.buffers) {
      if (!firstBuffer) firstBuffer = buffer.data();
      EXPECT_EQ(buffer.data(), firstBuffer) << "a second buffer at size " << size;
      EXPECT_EQ(reinterpret_cast<std::uintptr_t>(buffer.data()) % kSectorMultiple, 0u);
      EXPECT_EQ(buffer.size() % kSectorMultiple, 0u) << size;
      EXPECT_LE(buffer.size(), kReadBackBufferSize);
      asked += buffer.size();
    }
    // Never more than the file rounded up to whole sectors.
    EXPECT_EQ(asked, (size + kSectorMultiple - 1) / kSectorMultiple * kSectorMultiple) << size;
  }
}

// What the device holds of one file, and how its reads behave.
struct Device {
  std::vector<std::uint8_t> bytes;
  std::optional<std::uint64_t> length;
  std::size_t failingRead = 0;
};

TEST(ReadBackCheck, AnyDifferenceOrFailedReadIsFoundWhereItBegins) {
  constexpr std::size_t kSize = 2 * kReadBackBufferSize + 1000;
  const std::vector<std::uint8_t> payload = Pattern(kSize);
  auto flip = [](std::size_t at) { return [at](Device& device) { device.bytes[at] ^= 0x01; }; };
  const struct {
    const char* what;
    std::function<void(Device&)> lie;
    std::uint64_t firstDifference;
  } cases[] = {
      {"first byte altered", flip(0), 0},
      {"last byte of the first buffer altered", flip(kReadBackBufferSize - 1),
       kReadBackBufferSize - 1},
      {"first byte of the second buffer altered", flip(kReadBackBufferSize), kReadBackBufferSize},
      {"last byte altered", flip(kSize - 1), kSize - 1},
      {"one byte short",
       [](Device& device) {
         device.bytes.pop_back();
         device.length = device.bytes.size();
       },
       kSize - 1},
      {"one byte over",
       [](Device& device) {
         device.bytes.push_back(0);
         device.length = device.bytes.size();
       },
       kSize},
      {"ends early under the right length",
       [](Device& device) { device.bytes.resize(kReadBackBufferSize + 10); },
       kReadBackBufferSize + 10},
      {"ends on a buffer edge under the right length",
       [](Device& device) { device.bytes.resize(kReadBackBufferSize); }, kReadBackBufferSize},
      {"length unknown", [](Device& device) { device.length.reset(); }, 0},
      {"first read fails", [](Device& device) { device.failingRead = 1; }, 0},
      {"last read fails", [](Device& device) { device.failingRead = 3; }, 2 * kReadBackBufferSize},
  };
  ReadBackCheck check;
  for (const auto& c : cases) {
    Device device{payload, payload.size()};
    c.lie(device);
    MemoryFile file(device.bytes);
    file.length = device.length;
    file.failingRead = device.failingRead;
    EXPECT_EQ(check.FirstDifference(file, payload), c.firstDifference) << c.what;
    // The same check still passes an honest file afterwards.
    MemoryFile honest(payload);
    EXPECT_EQ(check.FirstDifference(honest, payload), std::nullopt) << "after " << c.what;
  }
}

}  // namespace
