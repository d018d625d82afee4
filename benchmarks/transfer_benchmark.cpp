// How long one write run's file work takes natively: the whole set, 13,441,213 bytes, staged
// in one folder, copied to another and flushed there, with and without reading it back past
// the page cache; and, for scale, one plain uncached sequential read of the copied set. Beside
// them the floor of a whole run: the same file steps done directly on the system's calls.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <map>
#include <new>

#include "base/failure.h"
#include "firmware/catalogue.h"
#include "firmware/transfer.h"
#include "support/decided_check.h"
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
  RunPlaces Places() const { return {staging.Dir(), drive.Dir()}; }
  SetTransfer Transfer() { return {payloads, files, Places(), SteadyRunClock()}; }

  const SetOfRealWeight payloads;
  StdTransferFiles files;
  TempFolder staging{"bench-staging"};
  TempFolder drive{"bench-drive"};
};

BENCHMARK_DEFINE_F(SetRun, CopyAndFlushWithoutReadBack)(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(Transfer().CopySet().copied);
  }
  CountBytes(state);
}

BENCHMARK_DEFINE_F(SetRun, WholeRunWithReadBack)(benchmark::State& state) {
  for (auto _ : state)
    Expect30(state, TransferFirmwareSet(DecidedCheck(), payloads, files, Places()).IntactCount());
  CountBytes(state);
}

// The read-back alone, on a set copied once beforehand.
BENCHMARK_DEFINE_F(SetRun, ReadBackAlone)(benchmark::State& state) {
  const auto copied = Transfer().CopySet().copied;
  for (auto _ : state) Expect30(state, Transfer().ReadBack(copied));
  CountBytes(state);
}

// What the read-back should cost at most: the same uncached reads with nothing compared.
BENCHMARK_DEFINE_F(SetRun, OneUncachedSequentialRead)(benchmark::State& state) {
  Transfer().CopySet();
  auto* buffer = new (std::align_val_t{kSectorMultiple}) std::uint8_t[kReadBackBufferSize];
  for (auto _ : state) {
    std::size_t total = 0;
    for (const CatalogueEntry& entry : kFirmwareCatalogue) {
      const auto file = files.OpenUncached(drive.Dir() + entry.fileName).file;
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

void WriteWhole(const std::string& path, std::span<const std::uint8_t> bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return;
  benchmark::DoNotOptimize(write(fd, bytes.data(), bytes.size()));
  close(fd);
}

void Flush(const std::string& path) {
  const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

bool ReadBack(const std::string& path, std::span<const std::uint8_t> expected,
              std::uint8_t* buffer) {
  int fd = open(path.c_str(), O_RDONLY | O_DIRECT | O_CLOEXEC);
  // tmpfs has no direct I/O; there the page cache is all there is.
  if (fd < 0 && errno == EINVAL) fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  std::size_t at = 0;
  bool same = true;
  for (ssize_t got; same && (got = read(fd, buffer, kReadBackBufferSize)) > 0; at += got) {
    same = at + got <= expected.size() && std::memcmp(buffer, expected.data() + at, got) == 0;
  }
  close(fd);
  return same && at == expected.size();
}

// Per payload: stage, delete the destination, copy, flush the copy, delete the staging file;
// then the whole set read back past the cache through one aligned buffer and compared.
BENCHMARK_DEFINE_F(SetRun, FloorOfTheWholeRun)(benchmark::State& state) {
  auto* buffer = new (std::align_val_t{kSectorMultiple}) std::uint8_t[kReadBackBufferSize];
  for (auto _ : state) {
    for (const CatalogueEntry& entry : kFirmwareCatalogue) {
      const std::string staged = staging.Dir() + entry.fileName;
      const std::string destination = drive.Dir() + entry.fileName;
      WriteWhole(staged, payloads.Open(entry.payloadName));
      std::filesystem::remove(destination);
      std::filesystem::copy_file(staged, destination,
                                 std::filesystem::copy_options::overwrite_existing);
      Flush(destination);
      std::filesystem::remove(staged);
    }
    int intact = 0;
    for (const CatalogueEntry& entry : kFirmwareCatalogue)
      intact += ReadBack(drive.Dir() + entry.fileName, payloads.Open(entry.payloadName), buffer);
    Expect30(state, intact);
  }
  operator delete[](buffer, std::align_val_t{kSectorMultiple});
  CountBytes(state);
}

BENCHMARK_REGISTER_F(SetRun, CopyAndFlushWithoutReadBack)->Unit(benchmark::kMillisecond);
BENCHMARK_REGISTER_F(SetRun, WholeRunWithReadBack)->Unit(benchmark::kMillisecond);
BENCHMARK_REGISTER_F(SetRun, ReadBackAlone)->Unit(benchmark::kMillisecond);
BENCHMARK_REGISTER_F(SetRun, OneUncachedSequentialRead)->Unit(benchmark::kMillisecond);
BENCHMARK_REGISTER_F(SetRun, FloorOfTheWholeRun)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
