// How long one write run's file work takes natively: the whole set, 13,441,213 bytes, staged
// in one folder and copied to another, as the tool does on every click.
#include <benchmark/benchmark.h>

#include <map>

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

void WholeSetThroughStaging(benchmark::State& state) {
  const SetOfRealWeight payloads;
  StdTransferFiles files;
  TempFolder staging("bench-staging");
  TempFolder drive("bench-drive");
  for (auto _ : state) {
    benchmark::DoNotOptimize(TransferFirmwareSet(payloads, files, staging.Dir(), drive.Dir()));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kRealSetBytes));
}
BENCHMARK(WholeSetThroughStaging)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
