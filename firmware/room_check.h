#pragma once

#include <cstdint>
#include <span>
#include <string>

// The room a volume has, counted in its allocation units (clusters), and what its file system
// spends on a new name.
struct VolumeSpace {
  std::uint64_t clusterBytes = 0;
  // The clusters this user may still fill, quotas included.
  std::uint64_t freeClusters = 0;
  bool ntfs = false;
  // NTFS's file record, one for each new file; 0 when the volume does not say.
  std::uint64_t fileRecordBytes = 0;
};

// What a run does to the volume for one catalogue entry.
struct EntryRoom {
  std::uint64_t payloadBytes = 0;
  // The old file of that name which the run deletes before its copy; 0 when there is none, or
  // when the run cannot delete what holds the name (a read-only file, a folder).
  std::uint64_t freedBytes = 0;
  // Nothing of that name is in the root yet: the copy takes a new directory entry.
  bool newName = false;
};

// What a run that goes through the entries in order needs of a volume at its tightest moment,
// beside what the volume has free.
struct RoomCheck {
  std::uint64_t neededBytes = 0;
  std::uint64_t freeBytes = 0;

  // How many bytes the volume lacks; 0 when the run fits.
  std::uint64_t ShortfallBytes() const {
    return neededBytes > freeBytes ? neededBytes - freeBytes : 0;
  }
};

// stagingOnVolume: each payload is staged on this volume too.
RoomCheck CheckRoom(const VolumeSpace& volume, std::span<const EntryRoom> entries,
                    bool stagingOnVolume);

// A shortfall as the operator reads it: megabytes of 1,048,576 bytes with one decimal after a
// comma, rounded up and at least "0,1", then "МБ" ("5,6 МБ").
std::string ShortfallText(std::uint64_t bytes);
