#include "widgets/window_frame.h"

#include <gtest/gtest.h>

#include <tuple>

#include "app/form_layout.h"
#include "widgets/display_scale.h"

namespace {

// A frame as the system sizes one: borders of 3 and a title bar of 26 at 96, scaled.
FrameInsets FrameAt(int dpi) {
  const DisplayScale scale{dpi};
  return {scale.Px(3), scale.Px(26), scale.Px(3), scale.Px(3)};
}

// Hand-worked: the client area laid out for the DPI (354 × 81 at 96, 531 × 122 at 144, 708 × 162
// at 192) inside the frame at that DPI where the frame scales, at the system's where it does not
// (3 | 26 at 96, 5 | 39 at 144, 6 | 52 at 192).
TEST(FramedWindow, ClientAreaOfTheLayoutInsideTheFrameAsTheSystemDrawsIt) {
  // clang-format off
  const std::tuple<bool, int, int, Rect> kMoves[] = {
    // frame scales, system DPI, DPI, window
      {true,  96,  144, {100, 50, 641, 216}},
      {true,  144, 96,  {100, 50, 460, 160}},
      {true,  96,  192, {100, 50, 820, 270}},
      {false, 144, 96,  {100, 50, 464, 175}},
      {false, 96,  144, {100, 50, 637, 201}},
      {false, 192, 144, {100, 50, 643, 230}},
  };
  // clang-format on
  for (const auto& [frameScales, systemDpi, dpi, window] : kMoves) {
    const FormLayout layout = LayoutForm(dpi);
    EXPECT_EQ(FramedWindow({100, 50}, layout.clientWidth, layout.clientHeight,
                           FrameAt(FrameDpi(frameScales, dpi, systemDpi))),
              window)
        << frameScales << " " << systemDpi << " " << dpi;
  }
}

}  // namespace
