#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "widgets/color_scheme.h"
#include "widgets/surface.h"

// A picture of an image button: 0x00RRGGBB pixels, top row first. A default one is empty.
class Picture {
 public:
  Picture() = default;
  Picture(int width, int height, std::vector<std::uint32_t> pixels);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return pixels_.empty(); }
  Rgb Pixel(Point at) const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;
};

// Copies the source block of the image onto the destination rectangle (scaled to it when the
// sizes differ), leaving the surface as it was wherever the image has exactly the key colour.
void DrawImageKeyed(Surface& surface, const ColorScheme& scheme, const Picture& image,
                    const Rect& destination, TColor key, const Rect& source);

enum class ButtonImage { Up, UpAndFocused, Disabled, Down, StayDown, Hot };

// The state images of a button and the colour that is see-through in them.
class TImageButtonBitmaps {
 public:
  const Picture& Image(ButtonImage which) const { return images_[Index(which)]; }
  TColor TransparentColor() const { return transparentColor_; }
  void SetImage(ButtonImage which, Picture picture);
  void SetTransparentColor(TColor color);

  // Raised by every change of an image or of the key colour.
  std::function<void()> OnChange;

 private:
  static std::size_t Index(ButtonImage which) { return static_cast<std::size_t>(which); }
  void Changed();

  std::array<Picture, 6> images_;
  TColor transparentColor_ = clOlive;
};

enum class ButtonLook { Up, Disabled, Down, StayDown };

// The picture a button in this look shows, or nullptr for none.
const Picture* StateImage(const TImageButtonBitmaps& bitmaps, ButtonLook look, bool hot,
                          bool focusShown);

enum TBtnSize { bszNeither, bszButtonToBitmap };

struct Extent {
  int width = 0;
  int height = 0;
  friend constexpr bool operator==(Extent, Extent) = default;
};

// The size a button takes when asked for `requested`.
Extent SizeToBitmap(TBtnSize mode, const TImageButtonBitmaps& bitmaps, Extent requested);

// What the window of a button reports to it; `at` is in client coordinates.
struct ButtonInput {
  enum Kind {
    PointerEnter,
    PointerLeave,
    MouseDown,  // any mouse button, before the left button's own handling
    LeftDown,   // also the second press of a double click
    PointerMove,
    LeftUp,
    EnterDown,  // every key-down, repeats included
    SpaceDown,
    KeyUp,  // any key
    FocusGained,
    FocusLost,
    CaptureLost,
    Enabled,
    Disabled,
  };
  Kind kind;
  Point at{};
};

enum class Repaint { None, Later, Now };

// What the window does after an input, in this order: take the focus, repaint, click.
struct Reaction {
  bool takeFocus = false;
  Repaint repaint = Repaint::None;
  bool click = false;
};

// A button whose face is one of its state images, drawn keyed over what lies behind it.
// Knows nothing of windows: the window feeds it inputs and acts on the reactions.
class ImageButton {
 public:
  TImageButtonBitmaps& Bitmaps() { return bitmaps_; }
  const TImageButtonBitmaps& Bitmaps() const { return bitmaps_; }
  Extent Size() const { return size_; }
  // Applies the sizing rule to a requested size, keeps the result and returns it.
  Extent Resize(Extent requested);

  Reaction Handle(const ButtonInput& input);

  ButtonLook Look() const { return look_; }
  bool Armed() const { return armed_; }
  bool Hot() const { return hot_; }
  bool Focused() const { return focused_; }
  const Picture* Face() const { return StateImage(bitmaps_, look_, hot_, focused_ && showFocus_); }

  // Draws the state image over whatever the surface already holds behind the button.
  void Paint(Surface& surface, const ColorScheme& scheme) const;

 private:
  bool Inside(Point at) const;
  Reaction SetLook(ButtonLook look);
  Reaction SetHot(bool hot);

  TImageButtonBitmaps bitmaps_;
  TBtnSize buttonSize_ = bszButtonToBitmap;
  bool showFocus_ = true;
  Extent size_{80, 30};
  ButtonLook look_ = ButtonLook::Up;
  bool enabled_ = true;
  bool armed_ = false;
  bool hot_ = false;
  bool focused_ = false;
};
