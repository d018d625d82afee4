#include <gtest/gtest.h>

#include "widgets/pixel_surface.h"

namespace {

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlank{};

std::string Row(const PixelSurface& s, int y) {
  std::string row;
  for (int x = 0; x < s.Width(); ++x) row += s.Pixel({x, y}) == kBlank ? '.' : '#';
  return row;
}

TEST(PixelSurface, LinesStopShortOfTheirEndPointInEitherDirection) {
  struct Case {
    Point from, to;
    std::string row2;
  };
  for (const Case& c : {Case{{1, 2}, {5, 2}, ".####..."}, Case{{5, 2}, {1, 2}, "..####.."},
                        Case{{3, 2}, {3, 2}, "........"}}) {
    PixelSurface s(8, 4);
    s.DrawLine(c.from, c.to, kRed);
    EXPECT_EQ(Row(s, 2), c.row2) << c.from.x << "->" << c.to.x;
  }
  PixelSurface s(3, 6);
  s.DrawLine({1, 5}, {1, 1}, kRed);
  EXPECT_EQ(Row(s, 1), "...");
  EXPECT_EQ(Row(s, 2), ".#.");
  EXPECT_EQ(Row(s, 5), ".#.");
}

TEST(PixelSurface, DrawingOutsideIsClippedAndCopiesKeepTheirShape) {
  PixelSurface s(6, 3);
  s.FillRect({-5, -5, 2, 1}, kRed);
  s.SetPixel({9, 9}, kRed);
  EXPECT_EQ(Row(s, 0), "##....");
  EXPECT_EQ(Row(s, 1), "......");
  // Overlapping copy to the right: every copied pixel comes from the original block.
  s.SetPixel({2, 1}, kRed);
  s.CopyBlock({0, 0, 3, 2}, {1, 0});
  EXPECT_EQ(Row(s, 0), "###...");
  EXPECT_EQ(Row(s, 1), "...#..");
  // A block running off the edge is cut, not wrapped.
  s.CopyBlock({0, 0, 3, 1}, {4, 2});
  EXPECT_EQ(Row(s, 2), "....##");
}

}  // namespace
