#include "widgets/window_frame.h"

#include <gtest/gtest.h>

#include "app/form_layout.h"
#include "widgets/display_scale.h"

namespace {

// A frame as the system sizes one: borders of 3 and a title bar of 26 at 96, scaled.
FrameInsets FrameAt(int dpi) {
  const DisplayScale scale{dpi};
  return {scale.Px(3), scale.Px(26), scale.Px(3), scale.Px(3)};
}

struct Move {
  bool frameScales;
  int systemDpi;
  int dpi;
  Rect window;
};

// Hand-worked: the client area laid out for dpi (354 × 81 at 96, 531 × 122 at 144, 708 × 162 at
// 192) inside the frame at dpi where the frame scales, at the system's DPI where it does not
// (3 | 26 at 96, 5 | 39 at 144, 6 | 52 at 192); the top-left corner stays at 100, 50.
// clang-format off
const Move kMoves[] = {
    {true,  96,  144, {100, 50, 641, 216}},
    {true,  144, 96,  {100, 50, 460, 160}},
    {true,  96,  192, {100, 50, 820, 270}},
    {true,  192, 144, {100, 50, 641, 216}},
    {false, 144, 96,  {100, 50, 464, 175}},
    {false, 96,  144, {100, 50, 637, 201}},
    {false, 96,  192, {100, 50, 814, 241}},
    {false, 192, 144, {100, 50, 643, 230}},
};
// clang-format on

TEST(FramedWindow, ClientAreaOfTheLayoutInsideTheFrameAsTheSystemDrawsIt) {
  for (const Move& m : kMoves) {
    SCOPED_TRACE(testing::Message() << m.frameScales << " " << m.systemDpi << " " << m.dpi);
    const FormLayout layout = LayoutForm(m.dpi);
    EXPECT_EQ(FramedWindow({100, 50}, layout.clientWidth, layout.clientHeight,
                           FrameAt(FrameDpi(m.frameScales, m.dpi, m.systemDpi))),
              m.window);
  }
}

}  // namespace
