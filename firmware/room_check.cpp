#include "firmware/room_check.h"

#include <algorithm>

#include "base/texts.h"

namespace {

// exFAT takes three 32-byte directory entries for a file, FAT a long-name entry beside the
// short one: 96 bytes covers either for the set's names.
constexpr std::uint64_t kNewNameBytes = 96;
// NTFS takes a file record from its file table for each new file, growing the table for it, and
// the root's index may need a new block of its own.
constexpr std::uint64_t kUsualFileRecordBytes = 1024;
constexpr std::uint64_t kIndexBlockBytes = 4096;
constexpr std::uint64_t kMegabyte = 1024 * 1024;

std::int64_t Clusters(std::uint64_t bytes, std::uint64_t clusterBytes) {
  return static_cast<std::int64_t>((bytes + clusterBytes - 1) / clusterBytes);
}

std::uint64_t NewNamesBytes(const VolumeSpace& volume, std::uint64_t newNames) {
  if (newNames == 0) return 0;
  if (!volume.ntfs) return newNames * kNewNameBytes;
  const std::uint64_t record =
      volume.fileRecordBytes ? volume.fileRecordBytes : kUsualFileRecordBytes;
  return newNames * record + kIndexBlockBytes;
}

}  // namespace

// Walks the run step by step, as each entry is staged, its old file deleted, the payload copied
// and the staging file deleted: a set whose total fits can still run out of room on the way,
// when a large new file comes before the old ones that would make room for it. The clusters
// taken are counted after each step that takes some; the most ever taken is what the run needs.
RoomCheck CheckRoom(const VolumeSpace& volume, std::span<const EntryRoom> entries,
                    bool stagingOnVolume) {
  const std::uint64_t clusterBytes = volume.clusterBytes;
  if (clusterBytes == 0) return {};
  const auto newNames = std::count_if(entries.begin(), entries.end(),
                                      [](const EntryRoom& entry) { return entry.newName; });
  std::int64_t taken =
      Clusters(NewNamesBytes(volume, static_cast<std::uint64_t>(newNames)), clusterBytes);
  std::int64_t most = taken;
  for (const EntryRoom& entry : entries) {
    const std::int64_t payload = Clusters(entry.payloadBytes, clusterBytes);
    const std::int64_t staging = stagingOnVolume ? payload : 0;
    taken += staging;
    most = std::max(most, taken);
    taken += payload - Clusters(entry.freedBytes, clusterBytes);
    most = std::max(most, taken);
    taken -= staging;
  }
  return {static_cast<std::uint64_t>(most) * clusterBytes, volume.freeClusters * clusterBytes};
}

std::string ShortfallText(std::uint64_t bytes) {
  const std::uint64_t tenths = std::max<std::uint64_t>(1, (bytes * 10 + kMegabyte - 1) / kMegabyte);
  return FillText(kMegabytes, {std::to_string(tenths / 10), std::to_string(tenths % 10)});
}
