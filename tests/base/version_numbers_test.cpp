#include "base/version_numbers.h"

#include <gtest/gtest.h>

namespace {

TEST(FileVersionQueryPath, NamesTheFirstTranslationsTableInUpperCaseHex) {
  EXPECT_EQ(FileVersionQueryPath(0x04E30419u), "\\StringFileInfo\\041904E3\\FileVersion");
  EXPECT_EQ(FileVersionQueryPath(0x04B00409u), "\\StringFileInfo\\040904B0\\FileVersion");
  EXPECT_EQ(FileVersionQueryPath(0x7FFF00ABu), "\\StringFileInfo\\00AB7FFF\\FileVersion");
}

TEST(FileVersionQueryPath, CodePageOf0x8000OrMoreIsOutOfRange) {
  EXPECT_EQ(FileVersionQueryPath(0x80000419u), std::nullopt);
  EXPECT_EQ(FileVersionQueryPath(0xFFFF0419u), std::nullopt);
}

}  // namespace
