#include "widgets/image_button.h"

#include <stdexcept>
#include <utility>

#include "widgets/pixel_surface.h"

Picture::Picture(int width, int height, std::vector<std::uint32_t> pixels)
    : width_(width), height_(height), pixels_(std::move(pixels)) {
  if (pixels_.size() != static_cast<std::size_t>(width) * height)
    throw std::invalid_argument("picture size does not match its pixels");
}

Rgb Picture::Pixel(Point at) const {
  if (!Rect{0, 0, width_, height_}.Contains(at)) throw std::out_of_range("pixel outside picture");
  return UnpackPixel(pixels_[at.y * width_ + at.x]);
}

// The comparison is exact: a picture may hold colours a hair off the key (255, 254, 252 next
// to white), and those must stay visible.
void DrawImageKeyed(Surface& surface, const ColorScheme& scheme, const Picture& image,
                    const Rect& destination, TColor key, const Rect& source) {
  if (destination.IsEmpty() || source.IsEmpty()) return;
  const Rgb keyRgb = scheme.Resolve(key);
  for (int y = 0; y < destination.Height(); ++y) {
    const int sy = source.top + y * source.Height() / destination.Height();
    for (int x = 0; x < destination.Width(); ++x) {
      const int sx = source.left + x * source.Width() / destination.Width();
      const Rgb pixel = image.Pixel({sx, sy});
      if (pixel != keyRgb) surface.SetPixel({destination.left + x, destination.top + y}, pixel);
    }
  }
}

void TImageButtonBitmaps::SetImage(ButtonImage which, Picture picture) {
  images_[Index(which)] = std::move(picture);
  Changed();
}

void TImageButtonBitmaps::SetTransparentColor(TColor color) {
  transparentColor_ = color;
  Changed();
}

void TImageButtonBitmaps::Changed() {
  if (OnChange) OnChange();
}

// An empty image falls back to the one at rest. A disabled button without its own picture
// shows the picture at rest as it is: no caller disables an image button.
const Picture* StateImage(const TImageButtonBitmaps& bitmaps, ButtonLook look, bool hot,
                          bool focusShown) {
  const auto picture = [&](ButtonImage which) {
    const Picture& p = bitmaps.Image(which);
    return p.Empty() ? nullptr : &p;
  };
  const Picture* up = picture(ButtonImage::Up);
  const Picture* chosen = nullptr;
  switch (look) {
    case ButtonLook::Up:
      chosen = hot ? picture(ButtonImage::Hot) : nullptr;
      if (!chosen && focusShown) chosen = picture(ButtonImage::UpAndFocused);
      break;
    case ButtonLook::Disabled:
      chosen = picture(ButtonImage::Disabled);
      break;
    case ButtonLook::Down:
      chosen = picture(ButtonImage::Down);
      break;
    case ButtonLook::StayDown:
      chosen = picture(ButtonImage::StayDown);
      if (!chosen) chosen = picture(ButtonImage::Down);
      break;
  }
  if (!up && !(look == ButtonLook::Disabled && chosen)) return nullptr;
  return chosen ? chosen : up;
}

Extent SizeToBitmap(TBtnSize mode, const TImageButtonBitmaps& bitmaps, Extent requested) {
  const Picture& up = bitmaps.Image(ButtonImage::Up);
  if (mode == bszNeither || up.Empty()) return requested;
  return {up.Width(), up.Height()};
}

Extent ImageButton::Resize(Extent requested) {
  size_ = SizeToBitmap(buttonSize_, bitmaps_, requested);
  return size_;
}

bool ImageButton::Inside(Point at) const {
  return Rect{0, 0, size_.width, size_.height}.Contains(at);
}

Reaction ImageButton::SetLook(ButtonLook look) {
  if (look_ == look) return {};
  look_ = look;
  return {.repaint = Repaint::Now};
}

// Without a Hot picture the pointer changes nothing on screen, so nothing is repainted.
Reaction ImageButton::SetHot(bool hot) {
  hot_ = hot;
  return {.repaint = bitmaps_.Image(ButtonImage::Hot).Empty() ? Repaint::None : Repaint::Later};
}

Reaction ImageButton::Handle(const ButtonInput& input) {
  switch (input.kind) {
    case ButtonInput::PointerEnter:
      return SetHot(true);
    case ButtonInput::PointerLeave:
      return SetHot(false);
    case ButtonInput::MouseDown:
      return {.takeFocus = enabled_ && !focused_};
    case ButtonInput::LeftDown:
    case ButtonInput::SpaceDown:
      // A left press counts only once the press has brought the focus here.
      if (!enabled_ || !focused_) return {};
      armed_ = true;
      return SetLook(ButtonLook::Down);
    case ButtonInput::PointerMove:
      if (!armed_) return {};
      return SetLook(Inside(input.at) ? ButtonLook::Down : ButtonLook::Up);
    case ButtonInput::LeftUp: {
      if (!armed_) return {};
      armed_ = false;
      look_ = ButtonLook::Up;
      return {.repaint = Repaint::Now, .click = Inside(input.at)};
    }
    case ButtonInput::EnterDown:
      return {.click = focused_};
    case ButtonInput::KeyUp:
      if (!focused_ || !armed_) return {};
      armed_ = false;
      look_ = ButtonLook::Up;
      return {.repaint = Repaint::Now, .click = true};
    case ButtonInput::FocusGained:
    case ButtonInput::FocusLost:
      focused_ = input.kind == ButtonInput::FocusGained;
      return {.repaint = Repaint::Later};
    case ButtonInput::CaptureLost:
      // Another window took the mouse in mid-press: the press is abandoned, not completed.
      if (!armed_) return {};
      armed_ = false;
      return SetLook(ButtonLook::Up);
    case ButtonInput::Enabled:
    case ButtonInput::Disabled:
      enabled_ = input.kind == ButtonInput::Enabled;
      if (!enabled_) {
        armed_ = false;
        look_ = ButtonLook::Disabled;
      } else if (look_ == ButtonLook::Disabled) {
        look_ = ButtonLook::Up;
      }
      return {.repaint = Repaint::Later};
  }
  return {};
}

void ImageButton::Paint(Surface& surface, const ColorScheme& scheme) const {
  const Picture* face = Face();
  if (!face) return;
  DrawImageKeyed(surface, scheme, *face, {0, 0, size_.width, size_.height},
                 bitmaps_.TransparentColor(), {0, 0, face->Width(), face->Height()});
}
