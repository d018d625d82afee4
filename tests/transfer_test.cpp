#include "firmware/transfer.h"

#include <gtest/gtest.h>

#include <map>

#include "app/failure.h"
#include "firmware/catalogue.h"
#include "support/real_transfer_files.h"
#include "support/temp_folder.h"

namespace {

// Small, distinct payloads: a mix-up of two entries shows as a content mismatch.
class FakePayloads : public PayloadSource {
 public:
  FakePayloads() {
    for (const CatalogueEntry& entry : kFirmwareCatalogue) {
      std::vector<std::uint8_t> bytes(std::string(entry.payloadName).begin(),
                                      std::string(entry.payloadName).end());
      for (int i = 0; i < 300; ++i)
        bytes.push_back(static_cast<std::uint8_t>(i * 7 + bytes.size()));
      bytes.push_back(0);  // a zero byte must pass through like any other
      payloads_[entry.payloadName] = bytes;
    }
  }
  std::span<const std::uint8_t> Open(const std::string& name) const override {
    const auto found = payloads_.find(name);
    if (found == payloads_.end()) throw ResourceNotFound(name);
    return found->second;
  }
  const std::vector<std::uint8_t>& Bytes(const std::string& name) const {
    return payloads_.at(name);
  }
  void Remove(const std::string& name) { payloads_.erase(name); }

 private:
  std::map<std::string, std::vector<std::uint8_t>> payloads_;
};

// Records every step and fails the copies it is told to fail.
class SpyFiles : public TransferFiles {
 public:
  void WriteWhole(const std::string& path, std::span<const std::uint8_t>) override {
    steps.push_back("write " + path);
  }
  bool Delete(const std::string& path) override {
    steps.push_back("delete " + path);
    return false;
  }
  bool Copy(const std::string& from, const std::string& to) override {
    steps.push_back("copy " + from + " > " + to);
    return failingDestination != to;
  }
  std::vector<std::string> steps;
  std::string failingDestination;
};

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
};

TEST_F(TransferOnDisk, WritesEveryEntryByteForByteAndLeavesNoStagingFile) {
  EXPECT_EQ(TransferFirmwareSet(payloads, files, staging.Dir(), drive.Dir()), 30);
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
  EXPECT_EQ(TransferFirmwareSet(payloads, files, staging.Dir(), drive.Dir()), 30);
  ExpectWholeSetOnDrive();
  EXPECT_EQ(TransferFirmwareSet(payloads, files, staging.Dir(), drive.Dir()), 30);
  ExpectWholeSetOnDrive();
  ExpectStagingEmpty();
}

TEST_F(TransferOnDisk, StagingFileLeftFromAnEarlierRunIsReplaced) {
  WriteBytes(staging.path() / "KQ_rus.rub", std::vector<std::uint8_t>(900000, 0x55));
  EXPECT_EQ(TransferFirmwareSet(payloads, files, staging.Dir(), drive.Dir()), 30);
  ExpectWholeSetOnDrive();
  ExpectStagingEmpty();
}

TEST_F(TransferOnDisk, VanishedDriveCountsEveryCopyOutButCleansStaging) {
  const std::string goneRoot = drive.Dir() + "unplugged" + drive.Dir().back();
  EXPECT_EQ(TransferFirmwareSet(payloads, files, staging.Dir(), goneRoot), 0);
  ExpectStagingEmpty();
}

TEST_F(TransferOnDisk, StagingThatCannotBeCreatedEndsTheRunBeforeTheDrive) {
  const std::string missingDir = staging.Dir() + "missing" + staging.Dir().back();
  try {
    TransferFirmwareSet(payloads, files, missingDir, drive.Dir());
    FAIL() << "the run went on without its staging file";
  } catch (const Failure& failure) {
    const std::string prefix = "Cannot create file \"" + missingDir + "KQ1769_m.dat\". ";
    const std::string message = failure.what();
    ASSERT_EQ(message.substr(0, prefix.size()), prefix);
    const std::string systemText = message.substr(prefix.size());
    EXPECT_FALSE(systemText.empty());
    EXPECT_NE(systemText.back(), '.');
    EXPECT_NE(systemText.back(), '\n');
  }
  EXPECT_TRUE(std::filesystem::is_empty(drive.path()));
}

TEST_F(TransferOnDisk, NonAsciiFolderNames) {
  TempFolder cyrillicStaging("Прошивка KQ");
  TempFolder cyrillicDrive("Флешка");
  EXPECT_EQ(TransferFirmwareSet(payloads, files, cyrillicStaging.Dir(), cyrillicDrive.Dir()), 30);
  EXPECT_EQ(ReadBytes(cyrillicDrive.path() / "KQSAME.lng"), payloads.Bytes("Languagess"));
  EXPECT_TRUE(std::filesystem::is_empty(cyrillicStaging.path()));
}

TEST(TransferSteps, EachEntryIsStagedClearedCopiedAndUnstagedInCatalogueOrder) {
  FakePayloads payloads;
  SpyFiles files;
  ASSERT_EQ(TransferFirmwareSet(payloads, files, "X\\", "E:\\"), 30);
  ASSERT_EQ(files.steps.size(), 4 * kFirmwareCatalogue.size());
  for (std::size_t i = 0; i < kFirmwareCatalogue.size(); ++i) {
    const std::string name = kFirmwareCatalogue[i].fileName;
    EXPECT_EQ(files.steps[4 * i + 0], "write X\\" + name);
    EXPECT_EQ(files.steps[4 * i + 1], "delete E:\\" + name);
    EXPECT_EQ(files.steps[4 * i + 2], "copy X\\" + name + " > E:\\" + name);
    EXPECT_EQ(files.steps[4 * i + 3], "delete X\\" + name);
  }
}

TEST(TransferSteps, FailedCopyIsCountedOutAndTheRunGoesOn) {
  FakePayloads payloads;
  SpyFiles files;
  files.failingDestination = "E:\\KQ_geo.gel";
  EXPECT_EQ(TransferFirmwareSet(payloads, files, "X\\", "E:\\"), 29);
  EXPECT_EQ(files.steps.back(), "delete X\\KQSAME.lng");
  EXPECT_NE(std::find(files.steps.begin(), files.steps.end(), "delete X\\KQ_geo.gel"),
            files.steps.end());
}

TEST(TransferSteps, MissingPayloadEndsTheRunAtItsEntry) {
  FakePayloads payloads;
  payloads.Remove("Firmware4");
  SpyFiles files;
  try {
    TransferFirmwareSet(payloads, files, "X\\", "E:\\");
    FAIL() << "a missing payload went unnoticed";
  } catch (const Failure& failure) {
    EXPECT_STREQ(failure.what(), "Resource Firmware4 not found");
  }
  // Entries 1 to 4 went through whole; nothing of entry 5 or later was touched.
  EXPECT_EQ(files.steps.size(), 4u * 4u);
  EXPECT_EQ(files.steps.back(), "delete X\\KQ_rus.kzt");
}

}  // namespace
