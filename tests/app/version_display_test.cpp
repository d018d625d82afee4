#include "app/version_display.h"

#include <gtest/gtest.h>

#include "base/failure.h"

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
  const std::string title = "Загрузочный модуль KQ";
  EXPECT_EQ(MarkedCaption(title, 0), title);
  EXPECT_EQ(MarkedCaption(title, 0x01 | 0x02 | 0x04 | 0x20),
            title);  // debug, prerelease, patched, special
  EXPECT_EQ(MarkedCaption(title, kPrivateBuildFlag | 0x01), "ТЕСТ — Загрузочный модуль KQ");
}

TEST(FullVerCaption, KeepsSixSpacesAfterTheVersion) {
  EXPECT_EQ(FullVerCaption("6.49.0.0"), "6.49.0.0      ");
  EXPECT_EQ(FullVerCaption(""), "      ");
}

}  // namespace
