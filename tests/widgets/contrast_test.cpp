#include "widgets/contrast.h"

#include <gtest/gtest.h>

#include "widgets/draw.h"
#include "widgets/hot_button.h"
#include "widgets/pixel_surface.h"

namespace {

constexpr Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255}, kRed{255, 0, 0}, kOrange{240, 155, 20};
constexpr Rgb kCyan{26, 235, 255}, kPurple{55, 0, 110};
constexpr TColor kHotTrack = 0x00149BF0;

FixedColorScheme Scheme(Rgb face, Rgb text, Rgb highlight) {
  FixedColorScheme scheme;
  scheme.Set(clBtnFace, face)
      .Set(clBtnText, text)
      .Set(clWindowText, text)
      .Set(clHighlight, highlight);
  return scheme;
}

TEST(ContrastRatio, RelativeLuminanceFigures) {
  EXPECT_NEAR(ContrastRatio(kBlack, {212, 208, 200}), 13.66, 0.01);
  EXPECT_NEAR(ContrastRatio({212, 208, 200}, kRed), 2.60, 0.01);
  EXPECT_DOUBLE_EQ(ContrastRatio(kBlack, kWhite), 21.0);
  EXPECT_DOUBLE_EQ(ContrastRatio(kRed, kRed), 1.0);
}

TEST(ShownColor, FixedColoursGiveWayOnlyInHighContrastOrWhereTheyWouldNotShow) {
  const FixedColorScheme classic;
  const FixedColorScheme black = Scheme(kBlack, kWhite, kCyan);
  const FixedColorScheme white = Scheme(kWhite, kBlack, kPurple);
  struct Row {
    const char* what;
    const FixedColorScheme& scheme;
    bool highContrast;
    TColor fixed;
    Rgb shown;
    Rgb hotBase;
  } const rows[] = {
      {"classic: black prompt and dots", classic, false, clBlack, kBlack, kOrange},
      {"classic: red prompt at 2.6:1", classic, false, clRed, kRed, kOrange},
      {"classic: the scheme's own text colour", classic, false, clWindowText, kBlack, kOrange},
      {"high-contrast black: black", black, true, clBlack, kWhite, kCyan},
      {"high-contrast black: red, though it shows", black, true, clRed, kWhite, kCyan},
      {"high-contrast white: black", white, true, clBlack, kBlack, kPurple},
      {"high-contrast white: red", white, true, clRed, kBlack, kPurple},
      {"high-contrast: a system colour stays", black, true, clWindowText, kWhite, kCyan},
      {"black face, no mode: black at 1:1", black, false, clBlack, kWhite, kOrange},
      {"black face, no mode: red at 5.3:1", black, false, clRed, kRed, kOrange},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ShownColor(row.fixed, clBtnFace, row.scheme, row.highContrast), row.shown)
        << row.what;
    EXPECT_EQ(HotTrackBase(kHotTrack, row.scheme, row.highContrast), row.hotBase) << row.what;
  }
}

// The write button in high-contrast black, focused with the pointer over it: the ring is the
// selection colour's, the dots the text colour's.
TEST(ShownColor, WriteButtonInHighContrastBlack) {
  constexpr int kW = 297, kH = 33;
  const FixedColorScheme scheme = Scheme(kBlack, kWhite, kCyan);
  class NoCaption : public CaptionPainter {
    int MeasureHeight(const Rect&) override { return 13; }
    void Draw(const Rect&, Rgb) override {}
  } caption;
  HotButtonState state;
  state.focused = state.active = state.pointerOver = true;
  PixelSurface s(kW, kH);
  PaintHotButton(s, {0, 0, kW, kH}, state, {}, {scheme, true, {}, true}, caption);
  EXPECT_EQ(s.Pixel({150, kH - 3}), kCyan);
  for (const Point dot : {Point{3, 4}, Point{4, 3}, Point{kW - 4, 4}, Point{4, kH - 4}})
    EXPECT_EQ(s.Pixel(dot), kWhite);
}

}  // namespace
