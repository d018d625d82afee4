#include "firmware/embedded_integrity_win.h"

#include "base/failure.h"
#include "firmware/cng_sha256_win.h"
#include "firmware/payloads_win.h"
#include "recorded_digests.h"

IntegrityVerdicts CheckEmbeddedPayloads() {
  try {
    const CngSha256 hasher;
    const ResourcePayloads payloads;
    return {CheckFirmwareSet(payloads, hasher, kRecordedFirmwareSet),
            CheckPayload(payloads, hasher, kRecordedChangeLog)};
  } catch (const Failure& failure) {
    const IntegrityVerdict unchecked{IntegrityVerdict::Kind::kUnchecked, failure.what()};
    return {unchecked, unchecked};
  }
}

const PendingIntegrity& StartupIntegrityCheck() {
  // Waited for at exit if still running, which leaves it a fraction of a second at most.
  static const PendingIntegrity check =
      std::async(std::launch::async, CheckEmbeddedPayloads).share();
  return check;
}

const char* EmbeddedFirmwareSetSha256() { return kFirmwareSetSha256; }
