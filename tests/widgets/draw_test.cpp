#include "widgets/draw.h"

#include <gtest/gtest.h>

#include "widgets/color_math.h"
#include "widgets/pixel_surface.h"

namespace {

constexpr Rgb kBlank{1, 2, 3};

// One character per pixel: '.' untouched, or the first letter of the colour drawn there.
std::vector<std::string> Picture(const PixelSurface& s, const FixedColorScheme& scheme) {
  const std::pair<TColor, char> names[] = {
      {clBtnHighlight, 'H'}, {clBtnShadow, 'S'}, {clBlack, 'K'}, {cl3DDkShadow, 'D'}, {clRed, 'R'}};
  std::vector<std::string> rows;
  for (int y = 0; y < s.Height(); ++y) {
    std::string row;
    for (int x = 0; x < s.Width(); ++x) {
      char c = '.';
      for (const auto& [color, name] : names)
        if (s.Pixel({x, y}) == scheme.Resolve(color)) c = name;
      row += c;
    }
    rows.push_back(row);
  }
  return rows;
}

TEST(DrawRectSides, LowerRightWinsSharedCornersAndOnlyDrawnSidesShrink) {
  FixedColorScheme scheme;
  PixelSurface s(5, 4, kBlank);
  EXPECT_EQ(DrawRectSides(s, scheme, {0, 0, 5, 4}, clBtnHighlight, clBtnShadow),
            (Rect{1, 1, 4, 3}));
  EXPECT_EQ(Picture(s, scheme), (std::vector<std::string>{"HHHHS", "H...S", "H...S", "SSSSS"}));

  PixelSurface t(5, 4, kBlank);
  EXPECT_EQ(DrawRectSides(t, scheme, {0, 0, 5, 4}, clNone, clBtnShadow, sdRight | sdTop),
            (Rect{0, 1, 4, 4}));
  EXPECT_EQ(Picture(t, scheme), (std::vector<std::string>{"....S", "....S", "....S", "....S"}));
}

TEST(DrawRectBevel, EachRingInsideThePrevious) {
  FixedColorScheme scheme;
  PixelSurface s(6, 5, kBlank);
  EXPECT_EQ(DrawRectBevel(s, scheme, {0, 0, 6, 5}, clBtnShadow, clBtnHighlight, 2),
            (Rect{2, 2, 4, 3}));
  EXPECT_EQ(Picture(s, scheme),
            (std::vector<std::string>{"SSSSSH", "SSSSHH", "SS..HH", "SHHHHH", "HHHHHH"}));
}

TEST(DrawComboArrow, TipByButtonHeightAndPressedState) {
  FixedColorScheme scheme;
  struct Case {
    Rect button;
    bool pressed;
    Point tip;
  };
  // The drive list's button (odd height), its raised inside, the open list, an even height.
  for (const Case& c :
       {Case{{199, 2, 215, 19}, false, {207, 12}}, Case{{200, 3, 214, 18}, false, {207, 12}},
        Case{{200, 3, 214, 18}, true, {208, 13}}, Case{{0, 0, 16, 16}, false, {8, 9}}}) {
    PixelSurface s(220, 22, kBlank);
    DrawComboArrow(s, scheme, c.button, true, c.pressed, clWindow);
    for (int row = 0; row < 4; ++row) {
      for (int dx = -4; dx <= 4; ++dx) {
        const bool inside = std::abs(dx) <= row;
        EXPECT_EQ(s.Pixel({c.tip.x + dx, c.tip.y - row}) == RgbOf(clBlack), inside)
            << "tip " << c.tip.x << "," << c.tip.y << " row " << row << " dx " << dx;
      }
    }
    EXPECT_EQ(s.Pixel({c.tip.x, c.tip.y + 1}), kBlank);
    EXPECT_EQ(s.Pixel({c.tip.x, c.tip.y - 4}), kBlank);
  }
}

TEST(DrawComboArrow, ColourFollowsStateAndFace) {
  FixedColorScheme scheme;
  const struct {
    bool enabled;
    TColor face;
    TColor arrow;
  } cases[] = {{true, clWindow, clBlack},
               {false, clWindow, clBtnShadow},
               {true, 0x101010, cl3DDkShadow},
               {false, 0x101010, clBtnShadow}};
  for (const auto& c : cases) {
    PixelSurface s(16, 16, kBlank);
    DrawComboArrow(s, scheme, {0, 0, 16, 16}, c.enabled, false, c.face);
    EXPECT_EQ(s.Pixel({8, 9}), scheme.Resolve(c.arrow));
  }
}

TEST(ColorsAreClose, BoundariesOfHueAndLightness) {
  // Against black: hue below 20 and lightness below 60 (of 240).
  EXPECT_TRUE(ColorsAreClose({63, 63, 63}, {0, 0, 0}));   // lightness 59
  EXPECT_FALSE(ColorsAreClose({64, 64, 64}, {0, 0, 0}));  // lightness 60
  EXPECT_EQ(HslFromColor({63, 63, 63}).lightness, 59);
  EXPECT_EQ(HslFromColor({64, 64, 64}).lightness, 60);
  // Pure hues: red 0, then hue 19 and 20 at full saturation.
  const Rgb hue19 = ColorFromHsl(19, 240, 120);
  const Rgb hue20 = ColorFromHsl(20, 240, 120);
  ASSERT_EQ(HslFromColor(hue19).hue, 19);
  ASSERT_EQ(HslFromColor(hue20).hue, 20);
  EXPECT_TRUE(ColorsAreClose(hue19, {255, 0, 0}));
  EXPECT_FALSE(ColorsAreClose(hue20, {255, 0, 0}));
  // The drive list's window colour is far from black; the button face is close to itself.
  EXPECT_FALSE(ColorsAreClose({255, 255, 255}, {0, 0, 0}));
  EXPECT_TRUE(ColorsAreClose({212, 208, 200}, {212, 208, 200}));
}

TEST(FillVerticalGradient, FixedPointRowsTruncatedStepAndStripCopiedAcross) {
  // Six rows, top (2, 0, 255), bottom (0, 2, 0), worked out by hand in 16.16: the red step
  // 21845 leaves row k = 3 at 65535, still 0; the green step truncates towards zero to
  // -21845, which leaves row 3 at 65537, still 1; blue steps by 42.5 and drops the halves.
  const Rgb rows[] = {{1, 0, 212}, {1, 0, 170}, {0, 1, 127}, {0, 1, 85}, {0, 1, 42}, {0, 2, 0}};
  PixelSurface s(40, 8, kBlank);
  FillVerticalGradient(s, {1, 1, 38, 7}, {2, 0, 255}, {0, 2, 0});
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 40; ++x) {
      const bool inside = x >= 1 && x < 38 && y >= 1 && y < 7;
      ASSERT_EQ(s.Pixel({x, y}), inside ? rows[y - 1] : kBlank) << x << "," << y;
    }
  }
  PixelSurface untouched(4, 4, kBlank);
  FillVerticalGradient(untouched, {1, 1, 3, 1}, {9, 9, 9}, {9, 9, 9});
  FillVerticalGradient(untouched, {2, 0, 2, 4}, {9, 9, 9}, {9, 9, 9});
  EXPECT_EQ(Picture(untouched, FixedColorScheme()),
            (std::vector<std::string>{"....", "....", "....", "...."}));
}

TEST(FillGradientRing, TwoPixelRingOfTheFullHeightGradientOnFullColourOnly) {
  const Rect ring{1, 1, 12, 10};
  PixelSurface whole(14, 11, kBlank);
  FillVerticalGradient(whole, ring, {250, 230, 190}, {240, 155, 20});
  PixelSurface s(14, 11, kBlank);
  FillGradientRing(s, ring, {250, 230, 190}, {240, 155, 20}, true);
  for (int y = 0; y < 11; ++y) {
    for (int x = 0; x < 14; ++x) {
      const bool onRing = ring.Contains({x, y}) && !ring.Shrunk(2).Contains({x, y});
      ASSERT_EQ(s.Pixel({x, y}), onRing ? whole.Pixel({x, y}) : kBlank) << x << "," << y;
    }
  }
  PixelSurface palette(14, 11, kBlank);
  FillGradientRing(palette, ring, {250, 230, 190}, {240, 155, 20}, false);
  for (int y = 0; y < 11; ++y)
    for (int x = 0; x < 14; ++x) ASSERT_EQ(palette.Pixel({x, y}), kBlank);
}

TEST(DrawDotBorder, EveryOtherPixelOfEachEdge) {
  FixedColorScheme scheme;
  PixelSurface s(9, 8, kBlank);
  DrawDotBorder(s, {1, 1, 8, 7});
  EXPECT_EQ(Picture(s, scheme),
            (std::vector<std::string>{".........", "..K.K.K..", ".K.....K.", ".........",
                                      ".K.....K.", ".........", ".KK.K.KK.", "........."}));
}

}  // namespace
