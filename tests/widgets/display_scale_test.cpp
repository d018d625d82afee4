#include "widgets/display_scale.h"

#include <gtest/gtest.h>

namespace {

TEST(DisplayScale, RoundsHalfAwayFromZeroAsMulDivAndLinesThickenAtHalfSteps) {
  const struct {
    int dpi;
    int one, two, five, minusFive, line;
  } scales[] = {
      {96, 1, 2, 5, -5, 1},    {120, 1, 3, 6, -6, 1},    // 2.5 up to 3
      {143, 1, 3, 7, -7, 1},   {144, 2, 3, 8, -8, 2},    // 1.5 up to 2, -7.5 down to -8
      {168, 2, 4, 9, -9, 2},   {192, 2, 4, 10, -10, 2},  // 3.5 up to 4
      {239, 2, 5, 12, -12, 2}, {240, 3, 5, 13, -13, 3},  // 2.5 up to 3, 12.5 up to 13
  };
  for (const auto& s : scales) {
    const DisplayScale scale(s.dpi);
    EXPECT_EQ(scale.Px(0), 0) << s.dpi;
    EXPECT_EQ(scale.Px(1), s.one) << s.dpi;
    EXPECT_EQ(scale.Px(2), s.two) << s.dpi;
    EXPECT_EQ(scale.Px(5), s.five) << s.dpi;
    EXPECT_EQ(scale.Px(-5), s.minusFive) << s.dpi;
    EXPECT_EQ(scale.Line(), s.line) << s.dpi;
  }
  EXPECT_EQ(DisplayScale().Dpi(), 96);
  // A thin line stays a pixel wide even where a pixel would round away.
  EXPECT_EQ(DisplayScale(40).Px(1), 0);
  EXPECT_EQ(DisplayScale(40).Line(), 1);
}

}  // namespace
