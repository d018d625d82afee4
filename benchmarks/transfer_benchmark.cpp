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

// One staging folder and one drive folder, kept for every iteration as the tool's would be.
class SetRun : public benchmark::Fixture {
 protected:
  void Expect30(benchmark::State& state, int intact) {
    if (intact != 30) state.SkipWithError("the set did not read back whole");
  }
  void CountBytes(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kRealSetBytes));
  }

  const SetOfRealWeight payloads;
  StdTransferFiles files;
  TempFolder staging{"bench-staging"};
  TempFolder drive{"bench-drive"};
};

BENCHMARK_DEFINE_F(SetRun, CopyAndFlushWithoutReadBack)(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(CopyFirmwareSet(payloads, files, staging.Dir(), drive.Dir()));
  }
  CountBytes(state);
}

BENCHMARK_DEFINE_F(SetRun, WholeRunWithReadBack)(benchmark::State& state) {
  for (auto _ : state)
    Expect30(state, TransferFirmwareSet(payloads, files, staging.Dir(), drive.Dir()));
  CountBytes(state);
}

// The read-back alone, on a set copied once beforehand.
BENCHMARK_DEFINE_F(SetRun, ReadBackAlone)(benchmark::State& state) {
  const auto copied = CopyFirmwareSet(payloads, files, staging.Dir(), drive.Dir());
  for (auto _ : state) Expect30(state, ReadBackFirmwareSet(payloads, files, drive.Dir(), copied));
  CountBytes(state);
}

// What the read-back should cost at most: the same uncached reads with nothing compared.
BENCHMARK_DEFINE_F(SetRun, OneUncachedSequentialRead)(benchmark::State& state) {
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
  CountBytes(state);
}

BENCHMARK_REGISTER_F(SetRun, CopyAndFlushWithoutReadBack)->Unit(benchmark::kMillisecond);
BENCHMARK_REGISTER_F(SetRun, WholeRunWithReadBack)->Unit(benchmark::kMillisecond);
BENCHMARK_REGISTER_F(SetRun, ReadBackAlone)->Unit(benchmark::kMillisecond);
BENCHMARK_REGISTER_F(SetRun, OneUncachedSequentialRead)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
