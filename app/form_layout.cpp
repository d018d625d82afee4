#include "app/form_layout.h"

#include "widgets/display_scale.h"

namespace {

// The sizes the information button's pictures are drawn at: 100 % to 300 %.
constexpr int kInfoPictureSizes[] = {32, 40, 48, 56, 64, 80, 96};
constexpr int kClientWidth = 354;
constexpr int kClientHeight = 81;
constexpr int kFullVerHeight = 10;

Rect Scaled(const DisplayScale& scale, int left, int top, int width, int height) {
  const int x = scale.Px(left);
  const int y = scale.Px(top);
  return {x, y, x + scale.Px(width), y + scale.Px(height)};
}

}  // namespace

FormLayout LayoutForm(int dpi) {
  const DisplayScale scale{dpi};
  FormLayout layout;
  layout.clientWidth = scale.Px(kClientWidth);
  layout.clientHeight = scale.Px(kClientHeight);
  layout.label1 = {scale.Px(8), scale.Px(13)};
  layout.deviceBox = Scaled(scale, 128, 8, 217, 21);
  layout.itemHeight = scale.Px(13);
  layout.saveButton = Scaled(scale, 8, 40, 297, 33);
  layout.infoButton = {scale.Px(312), scale.Px(40)};
  layout.infoPictureSize = InfoPictureSize(dpi);
  layout.fullVer = {0, layout.clientHeight - scale.Px(kFullVerHeight), layout.clientWidth,
                    layout.clientHeight};
  layout.fontHeight = scale.Px(-11);
  layout.fullVerFontHeight = scale.Px(-8);
  layout.fontFace = dpi == 96 ? "MS Sans Serif" : "Microsoft Sans Serif";
  layout.fallbackFontFace = dpi == 96 ? nullptr : "Tahoma";
  return layout;
}

int InfoPictureSize(int dpi) {
  int size = kInfoPictureSizes[0];
  // Compared exactly, not rounded, so the picture never outgrows the button's scaled place.
  for (const int candidate : kInfoPictureSizes)
    if (candidate * 96 <= 32 * dpi) size = candidate;
  return size;
}
