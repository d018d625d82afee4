#include "firmware/integrity.h"

#include "base/failure.h"
#include "base/texts.h"
#include "firmware/catalogue.h"

namespace {

void RequireIntact(const IntegrityVerdict& verdict, const char* damagedText) {
  switch (verdict.kind) {
    case IntegrityVerdict::Kind::kIntact:
      return;
    case IntegrityVerdict::Kind::kDamaged:
      throw DamagedProgramFile(damagedText);
    case IntegrityVerdict::Kind::kUnchecked:
      throw Failure(verdict.failure);
  }
}

}  // namespace

const RecordedDigest* FindRecorded(std::span<const RecordedDigest> recorded,
                                   std::string_view payloadName) {
  for (const RecordedDigest& digest : recorded) {
    if (payloadName == digest.payloadName) return &digest;
  }
  return nullptr;
}

IntegrityVerdict CheckFirmwareSet(const PayloadSource& payloads, const Sha256Hasher& hasher,
                                  std::span<const RecordedDigest> recorded) {
  for (const CatalogueEntry& entry : kFirmwareCatalogue) {
    const RecordedDigest* digest = FindRecorded(recorded, entry.payloadName);
    // Nothing is written unchecked, not even what a faulty build forgot to record.
    if (!digest) return {IntegrityVerdict::Kind::kDamaged, {}};
    IntegrityVerdict verdict = CheckPayload(payloads, hasher, *digest);
    if (verdict.kind != IntegrityVerdict::Kind::kIntact) return verdict;
  }
  return {};
}

IntegrityVerdict CheckPayload(const PayloadSource& payloads, const Sha256Hasher& hasher,
                              const RecordedDigest& recorded) {
  // A payload the executable does not carry is not judged here: the run or the click that needs
  // it names it in its own failure, as it always has.
  const auto bytes = CarriedPayload(payloads, recorded.payloadName);
  if (bytes && hasher.Hash(*bytes) != recorded.sha256)
    return {IntegrityVerdict::Kind::kDamaged, {}};
  return {};
}

void AwaitIntactFirmwareSet(const PendingIntegrity& check, const char* damagedText) {
  RequireIntact(check.get().firmwareSet, damagedText);
}

void AwaitIntactChangeLog(const PendingIntegrity& check) {
  RequireIntact(check.get().changeLog, kDamagedChangeLogNotOpened);
}
