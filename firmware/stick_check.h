#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "firmware/catalogue.h"
#include "firmware/transfer.h"

// What a check found of one catalogue entry on a stick.
struct CheckedFile {
  enum class Verdict { kExact, kDifferent, kMissing, kUnreadable };
  Verdict verdict = Verdict::kMissing;
  // The name as the stick spells it, where its case differs from the catalogue's.
  std::string foundAs = {};
  // The file's length on the stick.
  std::uint64_t bytes = 0;
  // kDifferent, when it was read: the first byte that is not the payload's.
  std::uint64_t firstDifference = 0;
  // kUnreadable: why it could not be read (0: the system gave no reason).
  std::uint32_t error = 0;
  // How long the check waited for programs that held the file.
  RunClock::Duration waited{};

  bool operator==(const CheckedFile&) const = default;
};

// A check of a stick prepared earlier: whether its root holds the exact set.
struct StickCheck {
  // The root could not be listed: the stick has gone or is not ready.
  bool unreadable = false;
  std::array<CheckedFile, kFirmwareSetSize> files = {};

  // Files that are there but not as built, the unreadable ones among them.
  int Different() const;
  int Missing() const;
  bool AllExact() const;
};

// Looks for each catalogue name in the root, ignoring case, reads the file past the system's
// cache and compares it with the payload. The payloads are the ones whose SHA-256 the check at
// start found to be the digests the build recorded, so a file the same as its payload has the
// recorded SHA-256, and any other has not. Nothing on the stick is written, made, renamed or
// deleted, and no other file is opened. Holders are waited for with a run's patience; a file that
// still cannot be read counts as different, never as exact. It gives up between files once
// `abandoned` says so.
StickCheck CheckStick(const std::string& root, TransferFiles& files, const PayloadSource& payloads,
                      RunClock clock, TransferProgress* progress,
                      const std::function<bool()>& abandoned);
