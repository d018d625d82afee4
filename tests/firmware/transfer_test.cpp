#include "firmware/transfer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <future>
#include <map>
#include <numeric>
#include <set>

#include "base/failure.h"
#include "firmware/catalogue.h"
#include "firmware/run_report.h"
#include "firmware/system_errors.h"
#include "support/decided_check.h"
#include "support/fake_payloads.h"
#include "support/lying_files.h"
#include "support/real_transfer_files.h"
#include "support/temp_folder.h"

namespace {

class TransferOnDisk : public ::testing::Test {
 protected:
  TempFolder staging{"staging"};
  TempFolder drive{"drive"};
  FakePayloads payloads;
  RealTransferFiles files;

  void ExpectWholeSetOnDrive() {
    for (const CatalogueEntry& entry : kFirmwareCatalogue) {
      EXPECT_EQ(ReadBytes(drive.path() / entry.fileName), payloads.Bytes(entry.payloadName))
          << entry.fileName;
    }
  }
  void ExpectStagingEmpty() { EXPECT_TRUE(std::filesystem::is_empty(staging.path())); }
  int Run(const std::string& stagingDir, const std::string& root, unsigned long processId = 0) {
    return TransferFirmwareSet(DecidedCheck(), payloads, files,
                               {stagingDir, root, false, processId})
        .IntactCount();
  }
};

TEST_F(TransferOnDisk, WritesEveryEntryByteForByteAndLeavesNoStagingFile) {
  EXPECT_EQ(Run(staging.Dir(), drive.Dir()), 30);
  ExpectWholeSetOnDrive();
  ExpectStagingEmpty();
  int filesOnDrive = 0;
  for ([[maybe_unused]] const auto& file : std::filesystem::directory_iterator(drive.path()))
    ++filesOnDrive;
  EXPECT_EQ(filesOnDrive, 30);
}

TEST_F(TransferOnDisk, ReplacesAnOlderSetAndRepeatsIdentically) {
  for (const CatalogueEntry& entry : kFirmwareCatalogue) {
    WriteBytes(drive.path() / entry.fileName, std::vector<std::uint8_t>(5000, 0xEE));
  }
  EXPECT_EQ(Run(staging.Dir(), drive.Dir()), 30);
  ExpectWholeSetOnDrive();
  EXPECT_EQ(Run(staging.Dir(), drive.Dir()), 30);
  ExpectWholeSetOnDrive();
  ExpectStagingEmpty();
}

TEST_F(TransferOnDisk, FilesBesideTheToolStayAsTheyAreAndTakenStagingNamesArePassedOver) {
  // An older set the operator keeps beside the tool, and a staging file an earlier run of the
  // same process number could not delete.
  const std::map<std::string, std::vector<std::uint8_t>> beside{
      {"KQ1769_m.dat", std::vector<std::uint8_t>(900000, 0x55)},
      {"KQ_rus.rub", {1, 2, 3}},
      {StagingFileName(4242, 1), {4, 5}},
  };
  for (const auto& [name, bytes] : beside) WriteBytes(staging.path() / name, bytes);
  EXPECT_EQ(Run(staging.Dir(), drive.Dir(), 4242), 30);
  ExpectWholeSetOnDrive();
  std::map<std::string, std::vector<std::uint8_t>> left;
  for (const auto& file : std::filesystem::directory_iterator(staging.path()))
    left[PathUtf8(file.path().filename())] = ReadBytes(file.path());
  EXPECT_EQ(left, beside);
  EXPECT_EQ(StagingFileName(4242, 17), "~KQ4242-17.tmp");
}

TEST_F(TransferOnDisk, VanishedDriveCountsEveryCopyOutButCleansStaging) {
  const std::string goneRoot = drive.Dir() + "unplugged" + drive.Dir().back();
  EXPECT_EQ(Run(staging.Dir(), goneRoot), 0);
  ExpectStagingEmpty();
}

TEST_F(TransferOnDisk, StagingThatCannotBeCreatedEndsTheRunBeforeTheDrive) {
  const std::string missingDir = staging.Dir() + "missing" + staging.Dir().back();
  const TransferResult run =
      TransferFirmwareSet(DecidedCheck(), payloads, files, {missingDir, drive.Dir()});
  ASSERT_TRUE(run.stoppedBy) << "the run went on without its staging file";
  const std::string prefix = "Cannot create file \"" + missingDir + "~KQ0-1.tmp\". ";
  const std::string message = run.stoppedBy->what();
  ASSERT_EQ(message.substr(0, prefix.size()), prefix);
  const std::string systemText = message.substr(prefix.size());
  EXPECT_FALSE(systemText.empty());
  EXPECT_NE(systemText.back(), '.');
  EXPECT_NE(systemText.back(), '\n');
  EXPECT_EQ(run.IntactCount(), 0);
  EXPECT_TRUE(std::filesystem::is_empty(drive.path()));
}

TEST_F(TransferOnDisk, NonAsciiFolderNames) {
  TempFolder cyrillicStaging("Прошивка KQ");
  TempFolder cyrillicDrive("Флешка");
  EXPECT_EQ(Run(cyrillicStaging.Dir(), cyrillicDrive.Dir()), 30);
  EXPECT_EQ(ReadBytes(cyrillicDrive.path() / "KQSAME.lng"), payloads.Bytes("Languagess"));
  EXPECT_TRUE(std::filesystem::is_empty(cyrillicStaging.path()));
}

TEST_F(TransferOnDisk, ExecutableInTheDriveRootStagesElsewhereAndLosesNothing) {
  // Staged in the drive root itself, each file would be deleted as its own destination.
  for (const CatalogueEntry& entry : kFirmwareCatalogue) {
    WriteBytes(drive.path() / entry.fileName, std::vector<std::uint8_t>(700, 0x42));
  }
  const std::string executableDir = drive.Dir() + "." + drive.Dir().back();
  const bool same = RealSameDirectory(executableDir, drive.Dir());
  EXPECT_TRUE(same);
  EXPECT_EQ(Run(StagingDirectory(executableDir, same, staging.Dir()), drive.Dir()), 30);
  ExpectWholeSetOnDrive();
  ExpectStagingEmpty();
  EXPECT_EQ(StagingDirectory("C:\\Tools\\", false, "C:\\Temp\\"), "C:\\Tools\\");
}

TEST(TransferSteps, EachEntryIsStagedCopiedAndFlushedThenTheWholeSetIsReadBack) {
  FakePayloads payloads;
  LyingFiles files;
  ASSERT_EQ(TransferFirmwareSet(DecidedCheck(), payloads, files, {"X\\", "E:\\"}).IntactCount(),
            30);
  const std::size_t entries = kFirmwareCatalogue.size();
  ASSERT_EQ(files.steps.size(), 6 * entries);
  for (std::size_t i = 0; i < entries; ++i) {
    const std::string name = kFirmwareCatalogue[i].fileName;
    const std::string staged = "X\\" + StagingFileName(0, i + 1);
    EXPECT_EQ(files.steps[5 * i + 0], "write " + staged);
    EXPECT_EQ(files.steps[5 * i + 1], "delete E:\\" + name);
    EXPECT_EQ(files.steps[5 * i + 2], "copy " + staged + " > E:\\" + name);
    EXPECT_EQ(files.steps[5 * i + 3], "flush E:\\" + name);
    EXPECT_EQ(files.steps[5 * i + 4], "delete " + staged);
    EXPECT_EQ(files.steps[5 * entries + i], "read back E:\\" + name);
  }
  // A staging file that stays is recorded with its path and the system's error.
  LyingFiles sticky;
  const std::string third = "X\\" + StagingFileName(0, 3);
  sticky.undeletable = {third};
  const TransferResult run = TransferFirmwareSet(DecidedCheck(), payloads, sticky, {"X\\", "E:\\"});
  EXPECT_EQ(run.IntactCount(), 30);
  EXPECT_EQ(run.stagingLeft, (std::vector<StagingFileLeft>{{third, 1117}}));
  // So is one that a failed write could not take with it.
  LyingFiles failing;
  failing.undeletable = {third};
  failing.failingStage = third;
  const TransferResult stopped =
      TransferFirmwareSet(DecidedCheck(), payloads, failing, {"X\\", "E:\\"});
  ASSERT_TRUE(stopped.stoppedBy);
  EXPECT_EQ(stopped.stagingLeft, (std::vector<StagingFileLeft>{{third, 1117}}));
}

TEST(TransferSteps, EachLieCountsOutItsOwnFileAndNoOtherAndIsRecorded) {
  using Result = EntryRecord::Result;
  using Step = EntryRecord::Step;
  const auto differs = [](std::uint64_t at) {
    return EntryRecord{
        Result::kDifferent, Step::kStage, 0, at, {}, EntryRecord::Left::kDeleted, 0, true};
  };
  const auto failed = [](Step step, std::uint32_t error) {
    return EntryRecord{Result::kFailed, step, error, 0, {}, EntryRecord::Left::kDeleted, 0, true};
  };
  // A fake payload is its name, then 301 bytes that follow from the name's length.
  const struct {
    const char* what;
    std::string victim;
    std::function<void(LyingFiles&)> lie;
    EntryRecord record;
  } cases[] = {
      {"copy fails", "E:\\KQ_geo.gel", [](LyingFiles& f) { f.failingCopy = "E:\\KQ_geo.gel"; },
       failed(Step::kCopy, 1117)},
      {"copy reports success but alters bytes", "E:\\KQS_tkm.tmt",
       [](LyingFiles& f) { f.altering = {"E:\\KQS_tkm.tmt"}; }, differs((10 + 301) / 2)},
      {"copy writes a shorter file", "E:\\KQSAME_m.dat",
       [](LyingFiles& f) { f.shorteningCopy = "E:\\KQSAME_m.dat"; }, differs(10 + 301 - 1)},
      {"a later copy overwrites an earlier file's data", "E:\\KQ_rus.rub",
       [](LyingFiles& f) {
         f.wrapping = {"E:\\KQS_rus.rub", "E:\\KQ_rus.rub"};
       },
       differs(9)},  // "Firmware1s" over "Firmware1"
      {"flush fails", "E:\\KQ1769_m.dat",
       [](LyingFiles& f) { f.failingFlush = "E:\\KQ1769_m.dat"; }, failed(Step::kFlush, 0)},
      {"read-back cannot open the file", "E:\\KQSAME.lng",
       [](LyingFiles& f) { f.failingOpen = "E:\\KQSAME.lng"; }, failed(Step::kReadBack, 0)},
      {"read-back read fails", "E:\\KQ1769.lng",
       [](LyingFiles& f) { f.failingRead = "E:\\KQ1769.lng"; }, differs(0)},
  };
  for (const auto& c : cases) {
    FakePayloads payloads;
    LyingFiles files;
    c.lie(files);
    const TransferResult run =
        TransferFirmwareSet(DecidedCheck(), payloads, files, {"X\\", "E:\\"});
    EXPECT_EQ(run.IntactCount(), 29) << c.what;
    // The one counted out left nothing under its name; every other file holds its payload.
    for (std::size_t i = 0; i < kFirmwareCatalogue.size(); ++i) {
      const std::string path = "E:\\" + std::string(kFirmwareCatalogue[i].fileName);
      if (path == c.victim) {
        EXPECT_FALSE(files.files.contains(path)) << c.what;
        EXPECT_EQ(run.entries[i], c.record) << c.what;
      } else {
        EXPECT_EQ(files.files[path], payloads.Bytes(kFirmwareCatalogue[i].payloadName))
            << c.what << path;
        EXPECT_EQ(run.entries[i].result, Result::kIntact) << c.what << path;
      }
    }
  }
}

TEST(TransferSteps, ProgramsHoldingFilesAreWaitedOutWithinTheBudgets) {
  using namespace std::chrono_literals;
  const std::string rub = "E:\\KQ_rus.rub";
  const struct {
    const char* what;
    std::map<std::string, LyingFiles::Holder> holders;
    bool readOnly;
    int intact;
    RunClock::Duration sleptAtLeast, sleptAtMost;
    std::map<std::string, std::pair<std::string, RunClock::Duration>> scanners = {};
  } cases[] = {
      // clang-format off
      {"held 0.3 s sharing nothing", {{rub, {300ms}}}, false, 30, 300ms, 500ms},
      {"held 0.3 s sharing deletion: a delete pending", {{rub, {300ms, true}}}, false, 30,
       300ms, 500ms},
      {"held throughout: its entry's 2 s, then 2 s more to delete it", {{rub, {1h}}}, false, 29,
       4s, 4s},
      {"read-only: no waiting", {}, true, 29, 0s, 0s},
      {"four held throughout: the run's 5 s run out at the third; a pending delete needs no more",
       {{rub, {1h}}, {"E:\\KQ_kaz.kzt", {1h}}, {"E:\\KQ_rus.kzt", {1h, true}},
        {"E:\\KQ_eng.eur", {1h}}}, false, 26, 11s, 11s},
      {"a scanner opens the new copy for 0.3 s: its flush waits", {}, false, 30, 300ms, 500ms,
       {{rub, {"copy", 300ms}}}},
      {"a scanner opens it once flushed: its read-back waits", {}, false, 30, 300ms, 500ms,
       {{rub, {"flush", 300ms}}}},
      // clang-format on
  };
  for (const auto& c : cases) {
    FakePayloads payloads;
    LyingFiles files;
    files.files[rub] = {1, 2, 3};
    files.holders = c.holders;
    files.scanners = c.scanners;
    if (c.readOnly) files.readOnly.insert(rub);
    const TransferResult run = TransferFirmwareSet(DecidedCheck(), payloads, files, {"X\\", "E:\\"},
                                                   nullptr, files.Clock());
    EXPECT_EQ(run.IntactCount(), c.intact) << c.what;
    // Every pause is some entry's waiting.
    RunClock::Duration waited{};
    for (const EntryRecord& entry : run.entries) waited += entry.waited;
    EXPECT_EQ(waited, files.now) << c.what;
    // An old file the run could not replace is no file of its writing.
    EXPECT_EQ(run.UndeletableFiles(), std::vector<std::string>{}) << c.what;
    EXPECT_GE(files.now, c.sleptAtLeast) << c.what;
    EXPECT_LE(files.now, c.sleptAtMost) << c.what;
    if (!c.readOnly) continue;
    // A read-only file the copy could not replace is left as it was, not deleted once more.
    EXPECT_EQ(std::count(files.steps.begin(), files.steps.end(), "delete " + rub), 1);
    EXPECT_EQ(files.files[rub], (std::vector<std::uint8_t>{1, 2, 3}));
  }
}

TEST(TransferSteps, DriveWithoutRoomTouchesNothingAndSaysWhatItLacks) {
  FakePayloads payloads;
  LyingFiles files;
  const auto run = [&](std::optional<VolumeSpace> space, bool stagingOnDrive) {
    files.space = space;
    return TransferFirmwareSet(DecidedCheck(), payloads, files, {"X\\", "E:\\", stagingOnDrive});
  };
  // 30 payloads of one 512-byte cluster each and 30 new names taking 6 more: 36 are needed.
  EXPECT_EQ(run(VolumeSpace{512, 10}, false).ShortfallBytes(), 26u * 512);
  EXPECT_EQ(files.steps, std::vector<std::string>{});
  // Staged on the drive too, the last entry's staging file needs one cluster more.
  EXPECT_EQ(run(VolumeSpace{512, 36}, true).ShortfallBytes(), 512u);
  // With room enough, or on a drive that cannot say, the run goes on.
  EXPECT_EQ(run(VolumeSpace{512, 36}, false).IntactCount(), 30);
  EXPECT_EQ(run(std::nullopt, false).IntactCount(), 30);
}

// Notes the bytes of each file as the transfer reports it done.
class NotedProgress : public TransferProgress {
 public:
  void FileDone(std::uint64_t bytes) override { files.push_back(bytes); }
  std::vector<std::uint64_t> files;
};

TEST(TransferSteps, ProgressCountsEachFileOnceOnTheDriveAndOnceReadBack) {
  FakePayloads payloads;
  std::vector<std::uint64_t> sizes;
  for (const CatalogueEntry& entry : kFirmwareCatalogue)
    sizes.push_back(payloads.Bytes(entry.payloadName).size());
  const std::uint64_t setBytes = std::accumulate(sizes.begin(), sizes.end(), std::uint64_t{0});
  EXPECT_EQ(FirmwareSetBytes(payloads), setBytes);

  LyingFiles files;
  NotedProgress progress;
  ASSERT_EQ(TransferFirmwareSet(DecidedCheck(), payloads, files, {"X\\", "E:\\"}, &progress)
                .IntactCount(),
            30);
  std::vector<std::uint64_t> twice = sizes;
  twice.insert(twice.end(), sizes.begin(), sizes.end());
  EXPECT_EQ(progress.files, twice);

  // A file that never reached the drive is neither counted as copied nor read back.
  LyingFiles failing;
  failing.failingCopy = "E:\\KQ_geo.gel";
  NotedProgress counted;
  TransferFirmwareSet(DecidedCheck(), payloads, failing, {"X\\", "E:\\"}, &counted);
  const std::uint64_t geo = payloads.Bytes("Firmware10").size();
  EXPECT_EQ(counted.files.size(), 58u);
  EXPECT_EQ(std::accumulate(counted.files.begin(), counted.files.end(), std::uint64_t{0}),
            2 * (setBytes - geo));

  // A payload the executable lacks adds nothing to the set's size: the run stops at it.
  payloads.Remove("Firmware10");
  EXPECT_EQ(FirmwareSetBytes(payloads), setBytes - geo);
}

TEST(TransferSteps, MissingPayloadTouchesNothing) {
  FakePayloads payloads;
  payloads.Remove("Firmware4");
  payloads.Remove("Firmware9s");
  LyingFiles files;
  try {
    TransferFirmwareSet(DecidedCheck(), payloads, files, {"X\\", "E:\\"});
    FAIL() << "a missing payload went unnoticed";
  } catch (const Failure& failure) {
    EXPECT_STREQ(failure.what(), "Resource Firmware4 not found");
  }
  EXPECT_EQ(files.steps, std::vector<std::string>{});
}

TEST(TransferSteps, WrongFilesAreDeletedWithAPatienceOfTheirOwn) {
  using namespace std::chrono_literals;
  const std::vector<std::string> six{"E:\\KQ_fre.tnd", "E:\\KQ_tkm.tmt", "E:\\KQ_blg.bgn",
                                     "E:\\KQ_arm.amd", "E:\\KQ_geo.gel", "E:\\KQ_rus.kgs"};
  std::vector<std::string> all;
  for (const CatalogueEntry& entry : kFirmwareCatalogue) all.push_back(entry.fileName);
  const std::vector<std::string> firstEleven(all.begin(), all.begin() + 11);
  const struct {
    const char* what;
    std::vector<std::string> held;  // old files held throughout, sharing nothing
    std::vector<std::string> altered;
    RunClock::Duration scannerHolds;  // each altered file, from its flush on
    int intact;
    std::vector<std::string> undeletable;
    RunClock::Duration sleptAtLeast, sleptAtMost;
    std::uint32_t deathError = 0;  // what the drive answers to every call after the tenth file
  } cases[] = {
      {"the run's 5 s spent on held files, a scanner holds an altered file 1 s: deleted",
       {"E:\\KQ_rus.rub", "E:\\KQ_kaz.kzt", "E:\\KQ_rus.kzt"},
       {"E:\\KQ_geo.gel"},
       1s,
       26,
       {},
       12s,
       12200ms},
      {"six altered files held throughout: 2 s each until the 10 s are spent, all named",
       {},
       six,
       1h,
       24,
       {"KQ_fre.tnd", "KQ_tkm.tmt", "KQ_blg.bgn", "KQ_arm.amd", "KQ_geo.gel", "KQ_rus.kgs"},
       15s,
       15s},
      // Nothing left on the drive can be shown gone: each file the run wrote is named, and so is
      // the eleventh, which it tried on a free name; then the run stops, the root silent.
      // clang-format off
      {"the drive vanishes after the tenth file", {}, {}, 0s, 0, firstEleven, 0s, 0s,
       kErrorPathNotFound},
      {"every call after the tenth file an I/O error", {}, {}, 0s, 0, firstEleven, 0s, 0s, 1117},
      // clang-format on
  };
  for (const auto& c : cases) {
    FakePayloads payloads;
    LyingFiles files;
    for (const std::string& path : c.held) {
      files.files[path] = {7};
      files.holders[path] = {1h};
    }
    for (const std::string& path : c.altered) {
      files.altering.insert(path);
      files.scanners[path] = {"flush", c.scannerHolds};
    }
    files.deathError = c.deathError;
    files.diesAfterFiles = 10;
    const TransferResult run = TransferFirmwareSet(DecidedCheck(), payloads, files, {"X\\", "E:\\"},
                                                   nullptr, files.Clock());
    EXPECT_EQ(run.IntactCount(), c.intact) << c.what;
    EXPECT_EQ(run.UndeletableFiles(), c.undeletable) << c.what;
    EXPECT_FALSE(run.stoppedBy || run.volumeFull) << c.what;
    // A dying drive is tried no more once its root is silent: the files after are not reached.
    EXPECT_EQ(run.driveStoppedAnswering, c.deathError != 0) << c.what;
    EXPECT_EQ(run.entries[11].result == EntryRecord::Result::kNotReached, c.deathError != 0)
        << c.what;
    EXPECT_GE(files.now, c.sleptAtLeast) << c.what;
    EXPECT_LE(files.now, c.sleptAtMost) << c.what;
    for (const std::string& path : c.altered)
      EXPECT_EQ(files.files.contains(path), !c.undeletable.empty()) << c.what << path;
  }
}

// A failed copy's name is the run's to name where the copy began, or took a name that was free
// before it; a copy refused before it opened the name leaves what was there as it was.
TEST(TransferSteps, AFailedCopysNameIsNamedWhereTheRunMayHaveWrittenIt) {
  using Left = EntryRecord::Left;
  const std::string geo = "E:\\KQ_geo.gel";
  enum class Copy { kToldBegun, kSilent, kRefusedAsWriteProtected };
  const struct {
    Copy copy;
    bool foundBefore;
    Presence after;  // once the run's delete of the name failed, or kAbsent: it succeeded
    Left left;
  } cases[] = {
      {Copy::kToldBegun, false, Presence::kPresent, Left::kWrongFile},
      {Copy::kToldBegun, false, Presence::kUnknown, Left::kUnconfirmed},
      {Copy::kToldBegun, true, Presence::kPresent, Left::kWrongFile},
      {Copy::kToldBegun, true, Presence::kAbsent, Left::kDeleted},
      {Copy::kSilent, false, Presence::kPresent, Left::kWrongFile},
      {Copy::kSilent, false, Presence::kUnknown, Left::kUnconfirmed},
      {Copy::kRefusedAsWriteProtected, true, Presence::kPresent, Left::kOldFile},
      {Copy::kRefusedAsWriteProtected, true, Presence::kUnknown, Left::kNothing},
      {Copy::kRefusedAsWriteProtected, false, Presence::kAbsent, Left::kNothing},
  };
  for (const auto& c : cases) {
    const std::string what = "copy " + std::to_string(static_cast<int>(c.copy)) + ", found " +
                             std::to_string(c.foundBefore) + ", after " +
                             std::to_string(static_cast<int>(c.after));
    FakePayloads payloads;
    LyingFiles files;
    if (c.foundBefore) files.files[geo] = {7};
    files.failingCopy = geo;
    files.silentCopies = c.copy == Copy::kSilent;
    files.writeProtected = c.copy == Copy::kRefusedAsWriteProtected;
    if (c.after != Presence::kAbsent) files.undeletable = {geo};
    if (c.after == Presence::kUnknown) files.unknownPresence = {geo};
    const TransferResult run =
        TransferFirmwareSet(DecidedCheck(), payloads, files, {"X\\", "E:\\"});
    const EntryRecord& record = run.entries[10];
    EXPECT_EQ(record.left, c.left) << what;
    const bool named = c.left == Left::kWrongFile || c.left == Left::kUnconfirmed;
    EXPECT_EQ(run.UndeletableFiles(),
              named ? std::vector<std::string>{"KQ_geo.gel"} : std::vector<std::string>{})
        << what;
  }

  // A locked card over an earlier set, and a read-only medium as Wine shows it, whose deletes say
  // done and take nothing away: every change refused, every file as it was, none named.
  const std::pair<bool LyingFiles::*, RunFault> media[] = {
      {&LyingFiles::writeProtected, RunFault::kWriteProtected},
      {&LyingFiles::readOnlyUnderWine, RunFault::kWritingRefused},
  };
  for (const auto& [medium, fault] : media) {
    FakePayloads payloads;
    LyingFiles locked;
    for (const CatalogueEntry& entry : kFirmwareCatalogue)
      locked.files["E:\\" + std::string(entry.fileName)] = {9};
    const auto before = locked.files;
    locked.*medium = true;
    const TransferResult run = TransferFirmwareSet(DecidedCheck(), payloads, locked,
                                                   {"X\\", "E:\\"}, nullptr, locked.Clock());
    EXPECT_EQ(run.IntactCount(), 0);
    EXPECT_EQ(run.UndeletableFiles(), std::vector<std::string>{});
    EXPECT_EQ(OutcomeOfRun("E:\\", run).fault, fault);
    EXPECT_FALSE(run.ChangedDevice());
    EXPECT_FALSE(run.driveStoppedAnswering);
    EXPECT_EQ(locked.files, before);
  }
}

TEST(TransferSteps, ARunStoppedPartWayReadsBackWhatItCopied) {
  // The fifth entry stops the run; the second was altered on its way to the stick.
  const std::string fifth = "E:\\KQ_eng.eur", altered = "E:\\KQ_rus.rub";
  const std::string fifthStaged = "X\\" + StagingFileName(0, 5);
  const struct {
    const char* what;
    std::function<void(LyingFiles&)> stop;
    bool stagingOnDrive;
    bool volumeFull;
    const char* failure;  // nullptr: none
    bool alteredStays;
  } cases[] = {
      {"its staging write fills the PC's disk",
       [&](LyingFiles& f) { f.failingStage = fifthStaged, f.stageError = kErrorDiskFull; }, false,
       false, "Stream write error", false},
      {"its staging write fills the stick",
       [&](LyingFiles& f) { f.failingStage = fifthStaged, f.stageError = kErrorHandleDiskFull; },
       true, true, nullptr, false},
      {"its copy fills the stick, and the altered file cannot be deleted",
       [&](LyingFiles& f) { f.fullCopy = fifth, f.undeletable = {altered}; }, false, true, nullptr,
       true},
  };
  for (const auto& c : cases) {
    FakePayloads payloads;
    LyingFiles files;
    for (const CatalogueEntry& entry : kFirmwareCatalogue)
      files.files["E:\\" + std::string(entry.fileName)] = {9, 9};
    files.altering = {altered};
    c.stop(files);
    const TransferResult run =
        TransferFirmwareSet(DecidedCheck(), payloads, files, {"X\\", "E:\\", c.stagingOnDrive});
    EXPECT_EQ(run.IntactCount(), 3) << c.what;
    EXPECT_EQ(run.volumeFull, c.volumeFull) << c.what;
    EXPECT_EQ(run.entries[4].result, EntryRecord::Result::kFailed) << c.what;
    EXPECT_EQ(run.entries[4].step,
              c.stagingOnDrive || c.failure ? EntryRecord::Step::kStage : EntryRecord::Step::kCopy)
        << c.what;
    EXPECT_EQ(run.entries[5].result, EntryRecord::Result::kNotReached) << c.what;
    EXPECT_EQ(run.stoppedBy ? run.stoppedBy->what() : std::string(), c.failure ? c.failure : "")
        << c.what;
    EXPECT_EQ(run.UndeletableFiles(),
              c.alteredStays ? std::vector<std::string>{"KQ_rus.rub"} : std::vector<std::string>{})
        << c.what;
    // What the run copied was read back, and a file that did not read back exact is gone;
    // the fifth entry's file is either the old one or none; the later ones are as found.
    for (std::size_t i = 0; i < kFirmwareCatalogue.size(); ++i) {
      const std::string path = "E:\\" + std::string(kFirmwareCatalogue[i].fileName);
      const bool readBack = std::count(files.steps.begin(), files.steps.end(), "read back " + path);
      EXPECT_EQ(readBack, i < 4) << c.what << path;
      if (path == altered)
        EXPECT_EQ(files.files.contains(path), c.alteredStays) << c.what;
      else if (i < 4)
        EXPECT_EQ(files.files[path], payloads.Bytes(kFirmwareCatalogue[i].payloadName)) << c.what;
      else if (path == fifth && c.volumeFull && !c.stagingOnDrive)
        EXPECT_FALSE(files.files.contains(path)) << c.what;
      else
        EXPECT_EQ(files.files[path], (std::vector<std::uint8_t>{9, 9})) << c.what << path;
    }
    EXPECT_EQ(std::count_if(files.files.begin(), files.files.end(),
                            [](const auto& file) { return file.first.starts_with("X\\"); }),
              0)
        << c.what;
  }
}

TEST(OutcomeOfSystemError, TellsWhatARunMakesOfEachError) {
  const std::pair<std::uint32_t, FileOutcome> cases[] = {
      {kErrorSharingViolation, FileOutcome::kHeld},
      {kErrorLockViolation, FileOutcome::kHeld},
      {kErrorAccessDenied, FileOutcome::kDenied},
      {kErrorFileExists, FileOutcome::kNameTaken},
      {kErrorAlreadyExists, FileOutcome::kNameTaken},
      {kErrorDiskFull, FileOutcome::kVolumeFull},
      {kErrorHandleDiskFull, FileOutcome::kVolumeFull},
      {2, FileOutcome::kFailed},
      {1117, FileOutcome::kFailed},
  };
  for (const auto& [error, outcome] : cases)
    EXPECT_EQ(OutcomeOfSystemError(error), outcome) << error;
}

// Which verdict refuses a run with which failure is the integrity check's own test; here, when.
TEST(TransferSteps, FirstWaitsForTheCheckAndASetNotAsBuiltTouchesNoFile) {
  const struct {
    const char* what;
    IntegrityVerdicts verdicts;
    bool refused;
  } cases[] = {
      {"all intact", {}, false},
      {"a firmware payload damaged", {{IntegrityVerdict::Kind::kDamaged, {}}, {}}, true},
  };
  for (const auto& c : cases) {
    std::promise<IntegrityVerdicts> verdicts;
    const PendingIntegrity check = verdicts.get_future().share();
    FakePayloads payloads;
    LyingFiles files;
    auto run = std::async(std::launch::async, [&] {
      return TransferFirmwareSet(check, payloads, files, {"X\\", "E:\\"});
    });
    // Until the check has spoken the run does nothing at all.
    EXPECT_EQ(run.wait_for(std::chrono::milliseconds(20)), std::future_status::timeout) << c.what;
    verdicts.set_value(c.verdicts);
    if (!c.refused) {
      EXPECT_EQ(run.get().IntactCount(), 30) << c.what;
      EXPECT_EQ(files.steps.size(), 6 * kFirmwareSetSize) << c.what;
      continue;
    }
    EXPECT_THROW(run.get(), DamagedProgramFile) << c.what;
    EXPECT_EQ(files.steps, std::vector<std::string>{}) << c.what;
  }
}

}  // namespace
