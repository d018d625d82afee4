#include "firmware/room_check.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr std::uint64_t KiB = 1024, MiB = 1024 * KiB, k4 = 4 * KiB;

TEST(CheckRoom, WalksTheRunStepByStepInWholeClusters) {
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
    EXPECT_EQ(CheckRoom(c.volume, c.entries, c.stagingOnVolume).ShortfallBytes(), c.shortfall)
        << c.what;
  // An exact fit and one cluster short, at every size: exFAT takes 128 KiB on large sticks, and
  // 32 MiB is its largest.
  for (const std::uint64_t cluster : {std::uint64_t{512}, k4, 128 * KiB, 32 * MiB}) {
    const std::uint64_t needed = (477'108 + cluster - 1) / cluster + 1;
    const std::vector<EntryRoom> image{{477'108, 0, true}};
    EXPECT_EQ(CheckRoom({cluster, needed}, image, false).ShortfallBytes(), 0u) << cluster;
    EXPECT_EQ(CheckRoom({cluster, needed - 1}, image, false).ShortfallBytes(), cluster) << cluster;
  }
}

TEST(CheckRoom, ReservesAFileRecordForEachNewNameOnNtfs) {
  // 30 new files of one 4 KiB cluster each.
  const std::vector<EntryRoom> set(30, {k4, 0, true});
  const std::vector<EntryRoom> replaced(30, {k4, k4, false});
  const struct {
    const char* what;
    VolumeSpace volume;
    const std::vector<EntryRoom>& entries;
    std::uint64_t neededClusters;
  } cases[] = {
      {"FAT or exFAT: 96 bytes a name", {k4, 0}, set, 30 + 1},
      {"NTFS of 1 KiB records, and 4 KiB for the root's index", {k4, 0, true, 1024}, set, 30 + 9},
      {"NTFS that does not say: 1 KiB records", {k4, 0, true}, set, 30 + 9},
      {"NTFS of 4 KiB records", {k4, 0, true, 4096}, set, 30 + 31},
      {"NTFS with every name there already", {k4, 0, true, 1024}, replaced, 0},
  };
  for (const auto& c : cases) {
    VolumeSpace volume = c.volume;
    volume.freeClusters = c.neededClusters;
    EXPECT_EQ(CheckRoom(volume, c.entries, false).neededBytes, c.neededClusters * k4) << c.what;
    EXPECT_EQ(CheckRoom(volume, c.entries, false).ShortfallBytes(), 0u) << c.what;
    if (c.neededClusters == 0) continue;
    volume.freeClusters = c.neededClusters - 1;
    EXPECT_EQ(CheckRoom(volume, c.entries, false).ShortfallBytes(), k4) << c.what;
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
