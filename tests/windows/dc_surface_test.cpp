#include "widgets/dc_surface_win.h"

#include <gtest/gtest.h>

#include "widgets/draw.h"
#include "widgets/face_buffer_win.h"

namespace {

// Draws the same figure through a device context and into memory: the pixels must agree.
void Figure(Surface& s, const ColorScheme& scheme) {
  s.FillRect({0, 0, 40, 24}, {7, 8, 9});
  DrawRectBevel(s, scheme, {1, 1, 30, 22}, clBtnShadow, clBtnHighlight, 2);
  DrawComboArrow(s, scheme, {12, 2, 28, 19}, true, true, clWindow);
  s.SetPixel({35, 3}, {200, 100, 50});
  s.DrawLine({39, 23}, {31, 23}, {1, 250, 3});
  s.CopyBlock({10, 5, 20, 15}, {30, 10});
  // At 150 %: dots of 2 x 2 around the whole figure.
  DrawDotBorder(s, {0, 0, 40, 24}, DisplayScale(144));
}

TEST(DcSurface, DrawsTheSamePixelsAsTheMemorySurface) {
  constexpr int kWidth = 40, kHeight = 24;
  FaceBuffer face(nullptr, kWidth, kHeight);
  ASSERT_TRUE(face.Ready());
  FixedColorScheme scheme;
  DcSurface onDc(face.Dc());
  Figure(onDc, scheme);

  PixelSurface expected(kWidth, kHeight);
  Figure(expected, scheme);
  const PixelSurface& drawn = face.Pixels();
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      ASSERT_EQ(drawn.Pixel({x, y}), expected.Pixel({x, y})) << x << "," << y;
}

}  // namespace
