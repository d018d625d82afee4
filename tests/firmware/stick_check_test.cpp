#include "firmware/stick_check.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "firmware/stick_check_report.h"
#include "support/fake_payloads.h"
#include "support/lying_files.h"

namespace {

using namespace std::chrono_literals;
using Verdict = CheckedFile::Verdict;

StickCheck Check(
    const std::string& root, TransferFiles& files, const FakePayloads& payloads,
    RunClock clock = SteadyRunClock(), std::function<bool()> abandoned = [] { return false; }) {
  return CheckStick(root, files, payloads, std::move(clock), nullptr, abandoned);
}

TEST(CheckStick, TellsEachFileExactDifferentMissingOrUnreadableAndWritesNothing) {
  const std::string rub = "E:\\KQ_rus.rub";
  const struct {
    const char* what;
    std::function<void(LyingFiles&, const FakePayloads&)> stick;
    CheckedFile rubFile;
    RunClock::Duration slept;
  } cases[] = {
      {"as built", {}, {Verdict::kExact, "", 310}, 0s},
      {"named in another case",
       [&](LyingFiles& f, const FakePayloads&) {
         f.files["E:\\kq_RUS.rub"] = f.files.extract(rub).mapped();
       },
       {Verdict::kExact, "kq_RUS.rub", 310},
       0s},
      {"one byte altered",
       [&](LyingFiles& f, const FakePayloads&) { f.files[rub][100] ^= 1; },
       {Verdict::kDifferent, "", 310, 100},
       0s},
      {"one byte longer, not even read",
       [&](LyingFiles& f, const FakePayloads&) {
         f.files[rub].push_back(0);
         f.failingOpen = rub;
       },
       {Verdict::kDifferent, "", 311},
       0s},
      {"missing",
       [&](LyingFiles& f, const FakePayloads&) { f.files.erase(rub); },
       {Verdict::kMissing},
       0s},
      {"held 0.3 s by a scanner",
       [&](LyingFiles& f, const FakePayloads&) { f.holders[rub] = {300ms}; },
       {Verdict::kExact, "", 310, 0, 0, 310ms},
       310ms},
      {"held throughout: unreadable after 2 s",
       [&](LyingFiles& f, const FakePayloads&) { f.holders[rub] = {1h}; },
       {Verdict::kUnreadable, "", 310, 0, kErrorSharingViolation, 2s},
       2s},
      {"a read fails part-way: counted different",
       [&](LyingFiles& f, const FakePayloads&) { f.failingRead = rub; },
       {Verdict::kDifferent, "", 310, 0},
       0s},
  };
  for (const auto& c : cases) {
    const FakePayloads payloads;
    LyingFiles files;
    for (const CatalogueEntry& entry : kFirmwareCatalogue)
      files.files["E:\\" + std::string(entry.fileName)] = payloads.Bytes(entry.payloadName);
    files.files["E:\\Акт сверки.pdf"] = {1, 2, 3};  // the operator's own, never opened
    if (c.stick) c.stick(files, payloads);
    const StickCheck check = Check("E:\\", files, payloads, files.Clock());
    EXPECT_EQ(check.files[1], c.rubFile) << c.what;
    EXPECT_EQ(files.now, c.slept) << c.what;
    const bool exact = c.rubFile.verdict == Verdict::kExact;
    EXPECT_EQ(check.AllExact(), exact) << c.what;
    EXPECT_EQ(check.Different() + check.Missing(), exact ? 0 : 1) << c.what;
    // Only the set's files were opened, and only to be read.
    for (const std::string& step : files.steps)
      EXPECT_TRUE(step.starts_with("read back E:\\") && !step.ends_with(".pdf"))
          << c.what << ": " << step;
  }
}

TEST(CheckStick, GivesUpBetweenFilesOnceAbandoned) {
  const FakePayloads payloads;
  LyingFiles files;
  for (const CatalogueEntry& entry : kFirmwareCatalogue)
    files.files["E:\\" + std::string(entry.fileName)] = payloads.Bytes(entry.payloadName);
  int asked = 0;
  Check("E:\\", files, payloads, SteadyRunClock(), [&] { return ++asked > 3; });
  EXPECT_EQ(files.steps.size(), 3u);
}

TEST(StickCheckReport, OneBoxThatCountsWhatIsNotAsBuilt) {
  const auto with = [](int different, int missing, bool unreadable = false) {
    StickCheck check;
    check.unreadable = unreadable;
    for (auto& file : check.files) file.verdict = Verdict::kExact;
    for (int i = 0; i < different; ++i) check.files[i].verdict = Verdict::kDifferent;
    for (int i = 0; i < missing; ++i) check.files[29 - i].verdict = Verdict::kMissing;
    return check;
  };
  const std::string exact = "На \"E:\\\" все 30 файлов прошивки версии 6.49 совпадают с эталоном.";
  const std::string incomplete =
      "На \"E:\\\" нет полного набора прошивки версии 6.49 (из 30 файлов ";
  const struct {
    StickCheck check;
    bool standIns;
    Notice box;
  } cases[] = {
      {with(0, 0), false, {exact, "Проверка USB-Flash", NoticeIcon::kInformation}},
      {with(0, 0),
       true,
       {exact + "\r\nЭто тестовая сборка: на USB-Flash заглушки, а не прошивка. Не используйте его "
                "в терминале.",
        "Проверка USB-Flash", NoticeIcon::kInformation}},
      {with(1, 2),
       false,
       {incomplete + "отличаются: 1, отсутствуют: 2). Запишите прошивку заново.",
        "Проверка USB-Flash", NoticeIcon::kWarning}},
      {with(3, 0),
       true,
       {incomplete + "отличаются: 3). Запишите прошивку заново.", "Проверка USB-Flash",
        NoticeIcon::kWarning}},
      {with(0, 30),
       false,
       {incomplete + "отсутствуют: 30). Запишите прошивку заново.", "Проверка USB-Flash",
        NoticeIcon::kWarning}},
      {with(0, 0, true),
       false,
       {"Не удалось прочитать \"E:\\\". Подключите USB-Flash и повторите проверку.",
        "Проверка USB-Flash", NoticeIcon::kError}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(StickCheckReport(c.check, "E:\\", "6.49", c.standIns), c.box);
  EXPECT_EQ(static_cast<unsigned>(NoticeIcon::kInformation), 0x40u);
}

}  // namespace
