#include "app/version_display.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "app/failure.h"

namespace {

TEST(CaptionVersionSuffix, ShowsMajorAndMinorOnly) {
  EXPECT_EQ(CaptionVersionSuffix((6u << 16) | 49u), " v6.49");
  EXPECT_EQ(CaptionVersionSuffix((1u << 16) | 2u), " v1.2");
  EXPECT_EQ(CaptionVersionSuffix(0), " v0.0");
  EXPECT_EQ(CaptionVersionSuffix(0x7FFFFFFFu), " v32767.65535");
}

TEST(CaptionVersionSuffix, MajorOf32768OrMoreIsARangeCheckError) {
  for (std::uint32_t word : {0x80000000u, 0x80010002u, kNoFixedVersion}) {
    try {
      CaptionVersionSuffix(word);
      FAIL() << std::hex << word;
    } catch (const Failure& failure) {
      EXPECT_STREQ(failure.what(), "Range check error");
    }
  }
}

TEST(MarkedCaption, OnlyAPrivateBuildIsMarkedAndTheMarkComesFirst) {
  constexpr std::uint32_t kDebug = 0x01, kPrerelease = 0x02, kPatched = 0x04, kSpecialBuild = 0x20;
  const std::string title = "Загрузочный модуль KQ", marked = "ТЕСТ — Загрузочный модуль KQ";
  for (const auto& [flags, caption] : std::vector<std::pair<std::uint32_t, std::string>>{
           {0, title},
           {kDebug | kPrerelease | kPatched | kSpecialBuild, title},
           {kPrivateBuildFlag, marked},
           {kPrivateBuildFlag | kDebug | kSpecialBuild, marked}}) {
    EXPECT_EQ(MarkedCaption(title, flags), caption) << std::hex << flags;
  }
}

TEST(FileVersionQueryPath, NamesTheFirstTranslationsTableInUpperCaseHex) {
  EXPECT_EQ(FileVersionQueryPath(0x04E30419u), "\\StringFileInfo\\041904E3\\FileVersion");
  EXPECT_EQ(FileVersionQueryPath(0x04B00409u), "\\StringFileInfo\\040904B0\\FileVersion");
  EXPECT_EQ(FileVersionQueryPath(0x7FFF00ABu), "\\StringFileInfo\\00AB7FFF\\FileVersion");
}

TEST(FileVersionQueryPath, CodePageOf0x8000OrMoreIsOutOfRange) {
  EXPECT_EQ(FileVersionQueryPath(0x80000419u), std::nullopt);
  EXPECT_EQ(FileVersionQueryPath(0xFFFF0419u), std::nullopt);
}

TEST(FullVerCaption, KeepsSixSpacesAfterTheVersion) {
  EXPECT_EQ(FullVerCaption("6.49.0.0"), "6.49.0.0      ");
  EXPECT_EQ(FullVerCaption(""), "      ");
}

}  // namespace
