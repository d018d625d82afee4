// What the journal costs a run: adding a run's block to a journal that is full, and making the
// block itself. Both happen on the worker, between a run's last step and its first box.
#include <benchmark/benchmark.h>

#include "firmware/firmware_journal.h"
#include "firmware/system_errors.h"
#include "journal/journal.h"

namespace {

// A run as a journal most often tells it: every file written and read back, one after a wait.
RunJournal TypicalRun() {
  RunJournal run{{{2026, 12, 8, 9, 5, 7, 180},
                  "6.49.0.0",
                  false,
                  std::string(64, 'a'),
                  {10, 0, 22631},
                  0x8664,
                  0x8664,
                  "%USERPROFILE%\\Desktop\\KQ\\"},
                 "%USERPROFILE%\\Desktop\\KQ\\",
                 DriveFacts{"E:\\", "KINGSTON", "FAT32", 32768, 8'000'000'000, 7'000'000'000, 1},
                 6'986'000'000};
  run.transfer = TransferResult{RoomCheck{13'500'416, 7'000'000'000}};
  for (EntryRecord& entry : run.transfer->entries) entry.result = EntryRecord::Result::kIntact;
  run.transfer->entries[3].waited = std::chrono::milliseconds(310);
  run.payloadBytes.assign(kFirmwareSetSize, 478'000);
  run.boxes = {
      {"Файлы прошивки успешно сохранены на \"E:\\\"", "Процесс завершен", NoticeIcon::kNone}};
  run.duration = std::chrono::milliseconds(2400);
  return run;
}

std::string Describe(std::uint32_t) {
  return "The process cannot access the file because it is being used by another process.\r\n";
}

void AppendToAFullJournal(benchmark::State& state) {
  const std::string block = RunBlock(TypicalRun(), Describe);
  Journal journal;
  for (std::size_t bytes = 0; bytes <= Journal::kLimitBytes; bytes += block.size())
    journal.Append(block);
  for (auto _ : state) journal.Append(block);
  state.counters["block_bytes"] = static_cast<double>(block.size());
}

void MakeARunsBlock(benchmark::State& state) {
  const RunJournal run = TypicalRun();
  for (auto _ : state) benchmark::DoNotOptimize(RunBlock(run, Describe));
}

BENCHMARK(AppendToAFullJournal)->Unit(benchmark::kMicrosecond);
BENCHMARK(MakeARunsBlock)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
