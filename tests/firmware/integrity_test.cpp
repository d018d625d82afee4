#include "firmware/integrity.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "base/failure.h"
#include "base/texts.h"
#include "firmware/catalogue.h"
#include "support/decided_check.h"
#include "support/fake_payloads.h"

namespace {

// Not SHA-256, but as telling for these tests: every byte is folded into the digest, so a
// change of any one byte changes it. Notes every span it is handed.
class FoldingHasher : public Sha256Hasher {
 public:
  Sha256Digest Hash(std::span<const std::uint8_t> bytes) const override {
    hashed.push_back(bytes);
    Sha256Digest digest{};
    for (std::size_t i = 0; i < bytes.size(); ++i) digest[i % digest.size()] ^= bytes[i];
    digest[0] ^= static_cast<std::uint8_t>(bytes.size());
    return digest;
  }
  mutable std::vector<std::span<const std::uint8_t>> hashed;
};

// What a build of these payloads records: the digest of each, in catalogue order.
std::vector<RecordedDigest> Record(const FakePayloads& payloads) {
  const FoldingHasher hasher;
  std::vector<RecordedDigest> recorded;
  for (const CatalogueEntry& entry : kFirmwareCatalogue)
    recorded.push_back({entry.payloadName, hasher.Hash(payloads.Bytes(entry.payloadName))});
  return recorded;
}

using Kind = IntegrityVerdict::Kind;

TEST(CheckFirmwareSet, HashesEveryPayloadWhereItLiesInCatalogueOrder) {
  const FakePayloads payloads;
  const FoldingHasher hasher;
  EXPECT_EQ(CheckFirmwareSet(payloads, hasher, Record(payloads)), IntegrityVerdict{});
  // The very bytes the run writes and reads back against, not a copy of them.
  ASSERT_EQ(hasher.hashed.size(), kFirmwareSetSize);
  for (std::size_t i = 0; i < kFirmwareSetSize; ++i) {
    const auto bytes = payloads.Open(kFirmwareCatalogue[i].payloadName);
    EXPECT_EQ(hasher.hashed[i].data(), bytes.data()) << i;
    EXPECT_EQ(hasher.hashed[i].size(), bytes.size()) << i;
  }
}

TEST(CheckFirmwareSet, OneByteAnywhereMakesTheSetDamaged) {
  const struct {
    const char* what;
    void (*alter)(FakePayloads&, std::vector<RecordedDigest>&);
    Kind kind;
  } cases[] = {
      {"first byte of the first image",
       [](FakePayloads& p, std::vector<RecordedDigest>&) { p.Change("Firmware0")[0] ^= 1; },
       Kind::kDamaged},
      {"last byte of a language table",
       [](FakePayloads& p, std::vector<RecordedDigest>&) { p.Change("Languages").back() ^= 0x80; },
       Kind::kDamaged},
      {"a middle byte of the last image",
       [](FakePayloads& p, std::vector<RecordedDigest>&) {
         std::vector<std::uint8_t>& bytes = p.Change("Languagess");
         bytes[bytes.size() / 2] ^= 0x20;
       },
       Kind::kDamaged},
      {"an image one byte longer",
       [](FakePayloads& p, std::vector<RecordedDigest>&) { p.Change("Firmware13s").push_back(0); },
       Kind::kDamaged},
      {"an image the build recorded no digest for",
       [](FakePayloads&, std::vector<RecordedDigest>& r) { r.erase(r.begin() + 20); },
       Kind::kDamaged},
      {"the change log damaged, which is no part of the set",
       [](FakePayloads& p, std::vector<RecordedDigest>&) { p.Change("Changes")[3] ^= 1; },
       Kind::kIntact},
      // Left to the run, which names it when it comes to it.
      {"an image the executable does not carry",
       [](FakePayloads& p, std::vector<RecordedDigest>&) { p.Remove("Firmware7s"); },
       Kind::kIntact},
      {"digests recorded in another order",
       [](FakePayloads&, std::vector<RecordedDigest>& r) { std::reverse(r.begin(), r.end()); },
       Kind::kIntact},
  };
  for (const auto& c : cases) {
    FakePayloads payloads;
    std::vector<RecordedDigest> recorded = Record(payloads);
    c.alter(payloads, recorded);
    EXPECT_EQ(CheckFirmwareSet(payloads, FoldingHasher(), recorded).kind, c.kind) << c.what;
  }
}

TEST(CheckPayload, JudgesTheChangeLogAlone) {
  FakePayloads payloads;
  const RecordedDigest recorded{"Changes", FoldingHasher().Hash(payloads.Bytes("Changes"))};
  EXPECT_EQ(CheckPayload(payloads, FoldingHasher(), recorded).kind, Kind::kIntact);
  payloads.Change("Changes")[100] ^= 4;
  EXPECT_EQ(CheckPayload(payloads, FoldingHasher(), recorded).kind, Kind::kDamaged);
  payloads.Remove("Changes");
  EXPECT_EQ(CheckPayload(payloads, FoldingHasher(), recorded).kind, Kind::kIntact);
}

TEST(AwaitIntact, EachClickRefusesOnlyWhatIsNotAsBuilt) {
  const IntegrityVerdict intact;
  const IntegrityVerdict damaged{Kind::kDamaged, {}};
  const IntegrityVerdict unchecked{Kind::kUnchecked, "Cannot load library bcrypt.dll"};
  const std::string firmwareBox =
      "own box: Файл программы повреждён: прошивка не записана. Скопируйте программу заново.";
  const std::string changeLogBox =
      "own box: Файл программы повреждён: список изменений не открыт. Скопируйте программу "
      "заново.";
  const std::string report = "default report: Cannot load library bcrypt.dll";
  const struct {
    IntegrityVerdicts verdicts;
    std::string firmwareSet, changeLog;  // how each is refused; empty: it goes through
  } cases[] = {
      {{intact, intact}, "", ""},
      {{damaged, intact}, firmwareBox, ""},
      {{intact, damaged}, "", changeLogBox},
      {{damaged, damaged}, firmwareBox, changeLogBox},
      {{unchecked, unchecked}, report, report},
  };
  const auto refusal = [](const std::function<void(const PendingIntegrity&)>& await,
                          const IntegrityVerdicts& verdicts) -> std::string {
    try {
      await(DecidedCheck(verdicts));
      return "";
    } catch (const DamagedProgramFile& failure) {
      return std::string("own box: ") + failure.what();
    } catch (const Failure& failure) {
      return std::string("default report: ") + failure.what();
    }
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto beforeWriting = [](const PendingIntegrity& check) {
      AwaitIntactFirmwareSet(check, kDamagedNothingWritten);
    };
    EXPECT_EQ(refusal(beforeWriting, cases[i].verdicts), cases[i].firmwareSet) << i;
    EXPECT_EQ(refusal(AwaitIntactChangeLog, cases[i].verdicts), cases[i].changeLog) << i;
  }
}

}  // namespace
