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

TEST(ShownColor, FixedColoursGiveWayWhereTheyWouldNotShowAndWindowTextPairsWithTheFace) {
  EXPECT_NEAR(ContrastRatio(kBlack, {212, 208, 200}), 13.66, 0.01);
  EXPECT_NEAR(ContrastRatio({212, 208, 200}, kRed), 2.60, 0.01);
  const FixedColorScheme classic, black = Scheme(kBlack, kWhite, kCyan),
                                  white = Scheme(kWhite, kBlack, kPurple);
  // Window text set apart from button text, as Windows 11's contrast themes and custom schemes do.
  FixedColorScheme apart = Scheme({212, 208, 200}, kPurple, kCyan);
  apart.Set(clWindowText, kOrange);
  struct Row {
    const FixedColorScheme& scheme;
    bool highContrast;
    TColor color, background;
    Rgb shown, hotBase;
  } const rows[] = {
      // clang-format off
      {classic, false, clBlack,      clBtnFace, kBlack,  kOrange},
      {classic, false, clRed,        clBtnFace, kRed,    kOrange},
      {classic, false, clWindowText, clBtnFace, kBlack,  kOrange},
      {black,   true,  clRed,        clBtnFace, kWhite,  kCyan},
      {white,   true,  clRed,        clBtnFace, kBlack,  kPurple},
      {black,   true,  clBtnFace,    clBtnFace, kBlack,  kCyan},  // a system colour is the scheme's own choice
      {black,   false, clBlack,      clBtnFace, kWhite,  kOrange},
      {black,   false, clRed,        clBtnFace, kRed,    kOrange},
      {apart,   false, clWindowText, clBtnFace, kPurple, kOrange},  // text paired with its background
      {apart,   false, clWindowText, clWindow,  kOrange, kOrange},
      // clang-format on
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ShownColor(row.color, row.background, row.scheme, row.highContrast), row.shown)
        << "row " << &row - rows;
    EXPECT_EQ(HotTrackBase(0x00149BF0, row.scheme, row.highContrast), row.hotBase)
        << "row " << &row - rows;
  }
}

}  // namespace
