#pragma once

#include <future>
#include <span>
#include <string>
#include <string_view>

#include "firmware/payload_source.h"
#include "firmware/sha256.h"

// The SHA-256 the build recorded for one payload it embedded.
struct RecordedDigest {
  const char* payloadName;
  Sha256Digest sha256;
};

// What the check of the embedded payloads found: a plain value, handed from the thread that
// checks to whoever waits for it.
struct IntegrityVerdict {
  enum class Kind { kIntact, kDamaged, kUnchecked };
  Kind kind = Kind::kIntact;
  // kUnchecked: the failure that kept the check from being made.
  std::string failure;

  bool operator==(const IntegrityVerdict&) const = default;
};

// The verdicts of the one check made at start. The firmware set and the change log are judged
// apart, so that a damaged image still lets the change log open.
struct IntegrityVerdicts {
  IntegrityVerdict firmwareSet;
  IntegrityVerdict changeLog;
};

// The check at start as those who need its verdicts see it; any thread may wait on any copy.
using PendingIntegrity = std::shared_future<IntegrityVerdicts>;

// The digest recorded for the payload of that name, or nullptr.
const RecordedDigest* FindRecorded(std::span<const RecordedDigest> recorded,
                                   std::string_view payloadName);

// Hashes each payload of the catalogue and compares it with the digest recorded for it.
IntegrityVerdict CheckFirmwareSet(const PayloadSource& payloads, const Sha256Hasher& hasher,
                                  std::span<const RecordedDigest> recorded);
IntegrityVerdict CheckPayload(const PayloadSource& payloads, const Sha256Hasher& hasher,
                              const RecordedDigest& recorded);

// Wait for the check and return once what they guard is as built; otherwise raise
// DamagedProgramFile with the text given, or the failure that kept the check from being made.
void AwaitIntactFirmwareSet(const PendingIntegrity& check, const char* damagedText);
void AwaitIntactChangeLog(const PendingIntegrity& check);
