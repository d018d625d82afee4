#include "firmware/room_check.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr std::uint64_t KiB = 1024, MiB = 1024 * KiB, k4 = 4 * KiB;

TEST(RoomShortfall, WalksTheRunStepByStepInWholeClusters) {
  const std::vector<EntryRoom> mixed{
      {1500, 1000, false}, {700, 0, false}, {100, 0, true}, {512, 0, true}, {513, 0, true}};
  const std::vector<EntryRoom> set(30, {480'000, 0, true});
  const struct {
    const char* what;
    VolumeSpace volume;
    std::vector<EntryRoom> entries;
    bool stagingOnVolume;
    std::uint64_t shortfall;
  } cases[] = {
      // clang-format off
      {"a big new file before the old one that makes room: the total fits, the walk does not",
       {k4, 10}, {{48 * KiB, 0, true}, {k4, 20 * KiB, false}}, false, 12 * KiB},
      {"an old file larger than its payload, staged on the stick: the staging write is short",
       {k4, 100}, {{118 * k4, 240 * k4, false}}, true, 18 * k4},
      {"the same staged elsewhere: the copy fits", {k4, 100}, {{118 * k4, 240 * k4, false}}, false,
       0},
      {"512 B clusters: a replaced file, one the run cannot delete, three new names", {512, 6},
       mixed, false, 1024},
      {"the same with two clusters more", {512, 8}, mixed, false, 0},
      {"a 32 GB stick with 100 clusters left: 450 for the set and one for 30 new names",
       {32 * KiB, 100}, set, false, 351 * 32 * KiB},
      // clang-format on
  };
  for (const auto& c : cases)
    EXPECT_EQ(RoomShortfall(c.volume, c.entries, c.stagingOnVolume), c.shortfall) << c.what;
  // An exact fit and one cluster short, at every size: exFAT takes 128 KiB on large sticks, and
  // 32 MiB is its largest.
  for (const std::uint64_t cluster : {std::uint64_t{512}, k4, 128 * KiB, 32 * MiB}) {
    const std::uint64_t needed = (477'108 + cluster - 1) / cluster + 1;
    const std::vector<EntryRoom> image{{477'108, 0, true}};
    EXPECT_EQ(RoomShortfall({cluster, needed}, image, false), 0u) << cluster;
    EXPECT_EQ(RoomShortfall({cluster, needed - 1}, image, false), cluster) << cluster;
  }
}

TEST(ShortfallText, MegabytesWithOneDecimalRoundedUp) {
  const std::pair<std::uint64_t, const char*> cases[] = {
      {1, "0,1 МБ"},       {104'857, "0,1 МБ"},     {104'858, "0,2 МБ"},     {5'872'025, "5,6 МБ"},
      {6 * MiB, "6,0 МБ"}, {6 * MiB + 1, "6,1 МБ"}, {100 * MiB, "100,0 МБ"},
  };
  for (const auto& [bytes, text] : cases) EXPECT_EQ(ShortfallText(bytes), text) << bytes;
}

}  // namespace
