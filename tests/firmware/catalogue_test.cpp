#include "firmware/catalogue.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>

#include "support/temp_folder.h"

namespace {

struct TableRecord {
  std::uint32_t id;
  std::string displayName;
  std::string fileName;
};

// Reads a language table strictly: every length field must agree with what follows it.
std::vector<TableRecord> ParseLanguageTable(const std::vector<std::uint8_t>& bytes) {
  std::vector<TableRecord> records;
  std::size_t at = 0;
  while (at < bytes.size()) {
    TableRecord record;
    record.id = LittleEndian(bytes, at, 4);
    const std::size_t restLength = LittleEndian(bytes, at + 4, 2);
    const std::size_t nameLength = LittleEndian(bytes, at + 6, 2);
    const std::size_t restStart = at + 6;
    record.displayName.assign(bytes.begin() + at + 8, bytes.begin() + at + 8 + nameLength);
    std::size_t fileStart = at + 8 + nameLength;
    std::size_t fileEnd = fileStart;
    while (bytes.at(fileEnd) != 0) ++fileEnd;
    record.fileName.assign(bytes.begin() + fileStart, bytes.begin() + fileEnd);
    EXPECT_EQ(restLength, 2 + nameLength + record.fileName.size() + 1) << "record " << record.id;
    at = restStart + restLength;
    records.push_back(record);
  }
  EXPECT_EQ(at, bytes.size()) << "trailing bytes";
  return records;
}

std::vector<std::uint8_t> ReadPayload(const char* name) {
  return ReadBytes(Utf8Path(std::string(KQ_PAYLOAD_DIR) + "/" + name));
}

const char* const kEditionNames[] = {
    "Russian (RUB)", "Kazakh (KZT)",  "Russian (KZT)",   "English (EUR)",  "Latvian (EUR)",
    "French (TND)",  "Turkmen (TMT)", "Bulgarian (BGN)", "Armenian (AMD)", "Georgian (GEL)",
    "Russian (KGS)", "French (FCFA)", "Russian (UZS)"};

void ExpectTableMatchesCatalogue(const char* tableName, std::size_t expectedSize,
                                 std::size_t firstEditionEntry) {
  SCOPED_TRACE(tableName);
  const std::vector<std::uint8_t> bytes = ReadPayload(tableName);
  ASSERT_EQ(bytes.size(), expectedSize);
  const std::vector<TableRecord> records = ParseLanguageTable(bytes);
  ASSERT_EQ(records.size(), 13u);
  for (std::uint32_t n = 1; n <= 13; ++n) {
    const TableRecord& record = records[n - 1];
    EXPECT_EQ(record.id, n);
    EXPECT_EQ(record.displayName, kEditionNames[n - 1]);
    EXPECT_EQ(record.fileName, kFirmwareCatalogue[firstEditionEntry + n - 1].fileName);
  }
}

TEST(Catalogue, LanguageTablesAgreeWithTheCatalogueEntryByEntry) {
  ExpectTableMatchesCatalogue("Languages", 418, 1);
  ExpectTableMatchesCatalogue("Languagess", 431, 16);
  EXPECT_STREQ(kFirmwareCatalogue[14].payloadName, "Languages");
  EXPECT_STREQ(kFirmwareCatalogue[29].payloadName, "Languagess");
}

TEST(Catalogue, FileNamesFollowTheFamilyScheme) {
  for (std::size_t i = 0; i < kFirmwareCatalogue.size(); ++i) {
    const bool same = i >= 15;
    const std::size_t inFamily = i % 15;
    const std::string file = kFirmwareCatalogue[i].fileName;
    const std::string payload = kFirmwareCatalogue[i].payloadName;
    const std::string family = same ? "KQSAME" : "KQ1769";
    const std::string suffix = same ? "s" : "";
    SCOPED_TRACE(file);
    if (inFamily == 0) {
      EXPECT_EQ(file, family + "_m.dat");
      EXPECT_EQ(payload, "Firmware0" + suffix);
    } else if (inFamily == 14) {
      EXPECT_EQ(file, family + ".lng");
    } else {
      EXPECT_EQ(payload, "Firmware" + std::to_string(inFamily) + suffix);
      const std::string prefix = same ? "KQS_" : "KQ_";
      ASSERT_EQ(file.size(), prefix.size() + 7);
      EXPECT_EQ(file.substr(0, prefix.size()), prefix);
      EXPECT_EQ(file[prefix.size() + 3], '.');
    }
    // Terminals read 8.3 names from a FAT root.
    const std::size_t dot = file.find('.');
    EXPECT_LE(dot, 8u);
    EXPECT_EQ(file.size() - dot - 1, 3u);
  }
}

TEST(Catalogue, NamesAreUniqueIgnoringCase) {
  std::set<std::string> payloads;
  std::set<std::string> files;
  auto upper = [](std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
  };
  for (const CatalogueEntry& entry : kFirmwareCatalogue) {
    EXPECT_TRUE(payloads.insert(upper(entry.payloadName)).second) << entry.payloadName;
    EXPECT_TRUE(files.insert(upper(entry.fileName)).second) << entry.fileName;
  }
}

}  // namespace
