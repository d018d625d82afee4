#include "widgets/contrast.h"

#include <gtest/gtest.h>

namespace {

constexpr Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255}, kRed{255, 0, 0}, kOrange{240, 155, 20};
constexpr Rgb kCyan{26, 235, 255}, kPurple{55, 0, 110};

FixedColorScheme Scheme(Rgb face, Rgb text, Rgb highlight) {
  FixedColorScheme scheme;
  scheme.Set(clBtnFace, face).Set(clBtnText, text).Set(clHighlight, highlight);
  return scheme;
}

TEST(ShownColor, FixedColoursGiveWayOnlyInHighContrastOrWhereTheyWouldNotShow) {
  EXPECT_NEAR(ContrastRatio(kBlack, {212, 208, 200}), 13.66, 0.01);
  EXPECT_NEAR(ContrastRatio({212, 208, 200}, kRed), 2.60, 0.01);
  const FixedColorScheme classic, black = Scheme(kBlack, kWhite, kCyan),
                                  white = Scheme(kWhite, kBlack, kPurple);
  struct Row {
    const FixedColorScheme& scheme;
    bool highContrast;
    TColor fixed;
    Rgb shown, hotBase;
  } const rows[] = {
      // clang-format off
      {classic, false, clBlack,   kBlack, kOrange},
      {classic, false, clRed,     kRed,   kOrange},
      {black,   true,  clRed,     kWhite, kCyan},
      {white,   true,  clRed,     kBlack, kPurple},
      {black,   true,  clBtnFace, kBlack, kCyan},  // a system colour is the scheme's own choice
      {black,   false, clBlack,   kWhite, kOrange},
      {black,   false, clRed,     kRed,   kOrange},
      // clang-format on
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ShownColor(row.fixed, clBtnFace, row.scheme, row.highContrast), row.shown)
        << "row " << &row - rows;
    EXPECT_EQ(HotTrackBase(0x00149BF0, row.scheme, row.highContrast), row.hotBase)
        << "row " << &row - rows;
  }
}

}  // namespace
