// How long the tool's check of its embedded payloads takes: the very code the tool runs at start,
// over the same payloads embedded the same way, in a process of its own. Figures are "key=value"
// lines:
//   first_ms  the first check of the process, as the tool's at start: loading the system's
//             cryptography library and the first touch of the payloads' pages included
//   again_ms  the same check made once more, with everything loaded and touched
//   bytes     how many bytes one check hashes
//   intact    1 when the firmware set and the change log both were as built
#include <windows.h>

#include <chrono>
#include <cstdio>

#include "base/system_library_win.h"
#include "changelog/change_log.h"
#include "firmware/catalogue.h"
#include "firmware/embedded_integrity_win.h"
#include "firmware/payloads_win.h"

namespace {

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

bool Intact(const IntegrityVerdicts& verdicts) {
  return verdicts.firmwareSet.kind == IntegrityVerdict::Kind::kIntact &&
         verdicts.changeLog.kind == IntegrityVerdict::Kind::kIntact;
}

}  // namespace

int wmain() {
  RestrictLibrarySearch();
  auto start = std::chrono::steady_clock::now();
  const IntegrityVerdicts first = CheckEmbeddedPayloads();
  const double firstMs = MillisecondsSince(start);
  start = std::chrono::steady_clock::now();
  const IntegrityVerdicts again = CheckEmbeddedPayloads();
  const double againMs = MillisecondsSince(start);

  const ResourcePayloads payloads;
  std::size_t bytes = payloads.Open(kChangeLogPayload).size();
  for (const CatalogueEntry& entry : kFirmwareCatalogue)
    bytes += payloads.Open(entry.payloadName).size();
  std::printf("first_ms=%.1f\nagain_ms=%.1f\nbytes=%zu\nintact=%d\n", firstMs, againMs, bytes,
              Intact(first) && Intact(again) ? 1 : 0);
  return 0;
}
