#include "widgets/contrast.h"

#include <gtest/gtest.h>

#include "widgets/hot_button.h"
#include "widgets/pixel_surface.h"

namespace {

constexpr Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255}, kRed{255, 0, 0}, kOrange{240, 155, 20};
constexpr Rgb kCyan{26, 235, 255}, kPurple{55, 0, 110};

FixedColorScheme Scheme(Rgb face, Rgb text, Rgb highlight) {
  FixedColorScheme scheme;
  scheme.Set(clBtnFace, face)
      .Set(clBtnText, text)
      .Set(clWindowText, text)
      .Set(clHighlight, highlight);
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
      {classic, false, clBlack, kBlack, kOrange},
      {classic, false, clRed, kRed, kOrange},
      {classic, false, clWindowText, kBlack, kOrange},
      {black, true, clBlack, kWhite, kCyan},
      {black, true, clRed, kWhite, kCyan},
      {black, true, clWindowText, kWhite, kCyan},
      {white, true, clBlack, kBlack, kPurple},
      {white, true, clRed, kBlack, kPurple},
      {black, false, clBlack, kWhite, kOrange},
      {black, false, clRed, kRed, kOrange},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ShownColor(row.fixed, clBtnFace, row.scheme, row.highContrast), row.shown)
        << "row " << &row - rows;
    EXPECT_EQ(HotTrackBase(0x00149BF0, row.scheme, row.highContrast), row.hotBase)
        << "row " << &row - rows;
  }
}

// Focused with the pointer over it: the ring's foot is the selection colour, the dots are text.
TEST(ShownColor, WriteButtonInHighContrastBlack) {
  class NoCaption : public CaptionPainter {
    int MeasureHeight(const Rect&) override { return 13; }
    void Draw(const Rect&, Rgb) override {}
  } caption;
  HotButtonState state;
  state.focused = state.pointerOver = true;
  PixelSurface s(297, 33);
  PaintHotButton(s, {0, 0, 297, 33}, state, {}, {Scheme(kBlack, kWhite, kCyan), true, {}, true},
                 caption);
  EXPECT_EQ(s.Pixel({150, 30}), kCyan);
  for (const Point dot : {Point{3, 4}, Point{4, 3}, Point{293, 4}, Point{4, 29}})
    EXPECT_EQ(s.Pixel(dot), kWhite);
}

}  // namespace
