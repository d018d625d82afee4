// How long one write run's file work takes natively: the whole set, 13,441,213 bytes, staged
// in one folder, copied to another and flushed there, with and without reading it back past
// the page cache; and, for scale, one plain uncached sequential read of the copied set.
#include <benchmark/benchmark.h>

#include <map>
#include <new>

#include "app/failure.h"
#include "firmware/catalogue.h"
#include "firmware/transfer.h"
#include "support/std_transfer_files.h"
#include "support/temp_folder.h"

namespace {

constexpr std::size_t kRealSetBytes = 13'441'213;

class SetOfRealWeight : public PayloadSource {
 public:
  SetOfRealWeight() {
    const std::size_t each = kRealSetBytes / kFirmwareSetSize;
    for (std::size_t i = 0; i < kFirmwareSetSize; ++i) {
      const std::size_t size = i + 1 < kFirmwareSetSize ? each : kRealSetBytes - each * i;
      payloads_[kFirmwareCatalogue[i].payloadName] =
          std::vector<std::uint8_t>(size, static_cast<std::uint8_t>(i));
    }
  }
  std::span<const std::uint8_t> Open(const std::string& name) const override {
    const auto found = payloads_.find(name);
    if (found == payloads_.end()) throw ResourceNotFound(name);
    return found->second;
  }

 private:
  std::map<std::string, std::vector<std::uint8_t>> payloads_;
};

void CopyAndFlushWithoutReadBack(benchmark::State& state) {
  const SetOfRealWeight payloads;
  StdTransferFiles files;
  TempFolder staging("bench-staging");
  TempFolder drive("bench-drive");
  for (auto _ : state) {
    benchmark::DoNotOptimize(CopyFirmwareSet(payloads, files, staging.Dir(), drive.Dir()));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kRealSetBytes));
}
BENCHMARK(CopyAndFlushWithoutReadBack)->Unit(benchmark::kMillisecond);

void WholeRunWithReadBack(benchmark::State& state) {
  const SetOfRealWeight payloads;
  StdTransferFiles files;
  TempFolder staging("bench-staging");
  TempFolder drive("bench-drive");
  for (auto _ : state) {
    if (TransferFirmwareSet(payloads, files, staging.Dir(), drive.Dir()) != 30)
      state.SkipWithError("the set did not read back whole");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kRealSetBytes));
}
BENCHMARK(WholeRunWithReadBack)->Unit(benchmark::kMillisecond);

// The read-back alone, on a set copied once beforehand.
void ReadBackAlone(benchmark::State& state) {
  const SetOfRealWeight payloads;
  StdTransferFiles files;
  TempFolder staging("bench-staging");
  TempFolder drive("bench-drive");
  const auto copied = CopyFirmwareSet(payloads, files, staging.Dir(), drive.Dir());
  for (auto _ : state) {
    if (ReadBackFirmwareSet(payloads, files, drive.Dir(), copied) != 30)
      state.SkipWithError("the set did not read back whole");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kRealSetBytes));
}
BENCHMARK(ReadBackAlone)->Unit(benchmark::kMillisecond);

// What the read-back should cost at most: the same uncached reads with nothing compared.
void OneUncachedSequentialRead(benchmark::State& state) {
  const SetOfRealWeight payloads;
  StdTransferFiles files;
  TempFolder staging("bench-staging");
  TempFolder drive("bench-drive");
  CopyFirmwareSet(payloads, files, staging.Dir(), drive.Dir());
  auto* buffer = new (std::align_val_t{kSectorMultiple}) std::uint8_t[kReadBackBufferSize];
  for (auto _ : state) {
    std::size_t total = 0;
    for (const CatalogueEntry& entry : kFirmwareCatalogue) {
      const auto file = files.OpenUncached(drive.Dir() + entry.fileName);
      while (const auto got = file->Read({buffer, kReadBackBufferSize})) {
        if (*got == 0) break;
        total += *got;
      }
    }
    if (total != kRealSetBytes) state.SkipWithError("the set did not read whole");
  }
  operator delete[](buffer, std::align_val_t{kSectorMultiple});
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kRealSetBytes));
}
BENCHMARK(OneUncachedSequentialRead)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
