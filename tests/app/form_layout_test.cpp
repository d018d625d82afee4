#include "app/form_layout.h"

#include <gtest/gtest.h>

namespace {

struct Expected {
  int dpi;
  int clientWidth, clientHeight;
  Point label1;
  Rect deviceBox, saveButton;
  Point infoButton;
  int infoPictureSize;
  Rect fullVer;
  int fontHeight, fullVerFontHeight;
};

// Hand-worked: each figure times dpi / 96, halves rounded away from zero as MulDiv rounds them.
// clang-format off
const Expected kLayouts[] = {
  // dpi  client     label1    deviceBox            saveButton          info    size  fullVer            fonts
    {96,  354, 81,  {8, 13},  {128, 8, 345, 29},   {8, 40, 305, 73},   {312, 40}, 32, {0, 71, 354, 81},   -11, -8},
    {120, 443, 101, {10, 16}, {160, 10, 431, 36},  {10, 50, 381, 91},  {390, 50}, 40, {0, 88, 443, 101},  -14, -10},
    {144, 531, 122, {12, 20}, {192, 12, 518, 44},  {12, 60, 458, 110}, {468, 60}, 48, {0, 107, 531, 122}, -17, -12},
    {192, 708, 162, {16, 26}, {256, 16, 690, 58},  {16, 80, 610, 146}, {624, 80}, 64, {0, 142, 708, 162}, -22, -16},
};
// clang-format on

TEST(LayoutForm, ScalesEveryFixedFigureAsTheSystemDoes) {
  for (const Expected& e : kLayouts) {
    SCOPED_TRACE(e.dpi);
    const FormLayout layout = LayoutForm(e.dpi);
    EXPECT_EQ(layout.clientWidth, e.clientWidth);
    EXPECT_EQ(layout.clientHeight, e.clientHeight);
    EXPECT_EQ(layout.label1, e.label1);
    EXPECT_EQ(layout.deviceBox, e.deviceBox);
    EXPECT_EQ(layout.saveButton, e.saveButton);
    EXPECT_EQ(layout.infoButton, e.infoButton);
    EXPECT_EQ(layout.infoPictureSize, e.infoPictureSize);
    EXPECT_EQ(layout.fullVer, e.fullVer);
    EXPECT_EQ(layout.fontHeight, e.fontHeight);
    EXPECT_EQ(layout.fullVerFontHeight, e.fullVerFontHeight);
  }
}

TEST(LayoutForm, BitmapFaceOnlyAt96) {
  EXPECT_STREQ(LayoutForm(96).fontFace, "MS Sans Serif");
  for (int dpi : {72, 120, 144, 192})
    EXPECT_STREQ(LayoutForm(dpi).fontFace, "Microsoft Sans Serif");
}

TEST(InfoPictureSize, LargestPictureNotBiggerThanTheScaledButton) {
  const std::pair<int, int> kSizes[] = {{72, 32},  {96, 32},  {110, 32}, {120, 40},
                                        {143, 40}, {144, 48}, {168, 56}, {192, 64},
                                        {239, 64}, {240, 80}, {288, 96}, {384, 96}};
  for (const auto& [dpi, size] : kSizes) EXPECT_EQ(InfoPictureSize(dpi), size) << dpi;
}

}  // namespace
