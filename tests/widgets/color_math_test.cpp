#include "widgets/color_math.h"

#include <gtest/gtest.h>

#include <array>

namespace {

// Each figure below was worked out by hand from the definitions.

TEST(HslFromColor, HandWorkedValuesAndTiesToEven) {
  const struct {
    Rgb color;
    int hue, saturation, lightness;
  } cases[] = {
      {{212, 208, 200}, 27, 29, 194},  // button face: 26.67, 29.39, 193.88
      {{10, 36, 106}, 149, 199, 55},   // selection: blue largest, 4 - 26/96
      {{255, 0, 128}, 220, 240, 120},  // red largest and green below blue: hue wraps past 0
      {{128, 128, 128}, 0, 0, 120},    // a grey has neither hue nor saturation
      {{0, 3, 16}, 152, 240, 8},       // hue exactly 152.5: to the even 152
      {{15, 15, 177}, 160, 202, 90},   // saturation exactly 202.5: to the even 202
  };
  for (const auto& c : cases) {
    const Hsl hsl = HslFromColor(c.color);
    EXPECT_EQ((std::array{hsl.hue, hsl.saturation, hsl.lightness}),
              (std::array{c.hue, c.saturation, c.lightness}))
        << int{c.color.r} << "," << int{c.color.g} << "," << int{c.color.b};
  }
}

TEST(ColorFromHsl, HueOver239ClippingAndTies) {
  const struct {
    int hue, saturation, lightness;
    Rgb expected;
  } cases[] = {
      {40, 240, 120, {254, 255, 0}},     // over 240 it would be pure yellow
      {160, 240, 120, {4, 0, 255}},      // over 240 it would be pure blue
      {239, 240, 120, {255, 0, 0}},      // x = 6 takes the first sextant's channels
      {120, 120, 60, {32, 95, 96}},      // 31.875, 94.8, 95.625
      {0, 0, 8, {8, 8, 8}},              // 8.5 exactly: to the even 8
      {0, 0, 72, {76, 76, 76}},          // 76.5 exactly: to the even 76
      {160, 240, 250, {255, 255, 255}},  // lightness past 240: every channel clipped, none wraps
      {100, 240, 0, {0, 0, 0}},          // no lightness: black
  };
  for (const auto& c : cases)
    EXPECT_EQ(ColorFromHsl(c.hue, c.saturation, c.lightness), c.expected)
        << c.hue << "," << c.saturation << "," << c.lightness;
}

TEST(ShadeAndTint, WorkedFiguresAndLimits) {
  const Rgb face{212, 208, 200};
  EXPECT_EQ(ShadeColor(face, 10), (Rgb{203, 198, 188}));
  EXPECT_EQ(ShadeColor(face, 20), (Rgb{193, 188, 176}));
  EXPECT_EQ(ShadeColor(face, 30), (Rgb{184, 178, 164}));
  EXPECT_EQ(TintColor(face, 20), (Rgb{231, 229, 224}));
  EXPECT_EQ(TintColor(face, 30), (Rgb{240, 239, 236}));
  EXPECT_EQ(TintColor(Rgb{128, 128, 128}, 30), (Rgb{159, 159, 159}));
  EXPECT_EQ(ShadeColor(Rgb{180, 170, 150}, 30), (Rgb{153, 140, 112}));
  // Lightness stops at 0 below and at 255 (not 240) above, which ends in white.
  EXPECT_EQ(ShadeColor(Rgb{128, 128, 128}, 200), (Rgb{0, 0, 0}));
  EXPECT_EQ(TintColor(Rgb{240, 155, 20}, 130), (Rgb{255, 255, 255}));
}

TEST(MixColors, WeightRunsFromSecondToFirst) {
  const Rgb white{255, 255, 255}, hot{240, 155, 20};
  EXPECT_EQ(MixColors(white, hot, 255), white);
  EXPECT_EQ(MixColors(white, hot, 0), hot);
  EXPECT_EQ(MixColors(white, hot, 190), (Rgb{251, 230, 195}));
  EXPECT_EQ(MixColors({0, 0, 0}, white, 128), (Rgb{127, 127, 127}));
  const Rgb edge{10, 36, 106}, light{240, 239, 236};
  EXPECT_EQ(MixColors(edge, light, 60), (Rgb{186, 191, 205}));
  EXPECT_EQ(MixColors(edge, light, 160), (Rgb{96, 112, 154}));
}

TEST(OppositeHueColor, HueTurnsByAThirdEitherWay) {
  EXPECT_EQ(OppositeHueColor({240, 155, 20}, 180), (Rgb{128, 173, 255}));  // hue 25 -> 145
  EXPECT_EQ(OppositeHueColor({0, 0, 255}, 120), (Rgb{254, 255, 0}));       // hue 160 -> 40
}

}  // namespace
