#pragma once

#include "widgets/color_scheme.h"
#include "widgets/display_scale.h"
#include "widgets/surface.h"

// The hot-tracking push button without its window: the state its input drives and the picture
// drawn from that state. The window layer turns messages into the events below and carries
// out what the button asks of its Host.

enum class HotTrackColorType { htctActual, htctComplement };

// Look settings; the defaults are those the write button keeps.
struct HotButtonLook {
  TColor color = clBtnFace;
  TColor parentColor = clBtnFace;
  TColor frameColor = cl3DDkShadow;
  TColor hotTrackColor = 0x00149BF0;
  HotTrackColorType hotTrackColorType = HotTrackColorType::htctActual;
  TColor highlightColor = clHighlight;
  TColor fontColor = clWindowText;
  bool showFocusRect = true;
};

struct HotButtonState {
  bool enabled = true;
  bool focused = false;
  bool pointerOver = false;
  bool pressedLook = false;
  bool mouseTracking = false;
  bool keyArmed = false;
  // The button Enter clicks.
  bool active = false;
  bool clicking = false;
  bool skipNextClick = false;
  bool leaveTrackingRequested = false;
};

// How the screen shows what is drawn.
struct Display {
  const ColorScheme& scheme;
  // More than 256 colours: gradients and rings are drawn only then.
  bool fullColor;
  // Line and ring widths, the see-through corners and the caption's margin follow it.
  DisplayScale scale = {};
  // The system's high-contrast mode: the fixed colours give way to the scheme's.
  bool highContrast = false;
};

// Measures and draws the caption text, which only the platform can render.
class CaptionPainter {
 public:
  virtual ~CaptionPainter() = default;
  // Height of the text word-wrapped at the rectangle's width.
  virtual int MeasureHeight(const Rect& rect) = 0;
  virtual void Draw(const Rect& rect, Rgb color) = 0;
};

// Draws every pixel of the client rectangle except the see-through corners, which keep what the
// surface held (the parent's background).
void PaintHotButton(Surface& surface, const Rect& client, const HotButtonState& state,
                    const HotButtonLook& look, const Display& display, CaptionPainter& caption);

enum class ButtonKey { Space, Enter, F4, Other };

class HotButton {
 public:
  // What the button needs from its window.
  class Host {
   public:
    virtual ~Host() = default;
    // Asks for the keyboard focus; true when the button holds it afterwards.
    virtual bool TakeFocus() = 0;
    // Leaves the window with no active control, so the focus is off the button.
    virtual void GiveUpFocus() = 0;
    virtual void EnableWindow(bool enabled) = 0;
    virtual void CapturePointer() = 0;
    virtual void ReleasePointer() = 0;
    // Asks to be told when the pointer leaves the window, even straight out of the application.
    virtual void TrackLeave() = 0;
    virtual void Repaint() = 0;
    virtual void SetOwnerModalResult(int result) = 0;
    // OnClick; may throw.
    virtual void RaiseClick() = 0;
  };

  HotButton(Host& host, int width, int height);

  const HotButtonState& State() const { return state_; }
  void Resize(int width, int height);
  void SetEnabled(bool enabled);
  // Copied into the owning window when the button is clicked.
  void SetModalResult(int result) { modalResult_ = result; }
  // A default button is active while the focus is on a control that is not a hot button.
  void SetDefault(bool isDefault) { default_ = isDefault; }

  void PointerMove(Point at);
  // The platform's report that the pointer has left the window.
  void PointerLeft();
  void LeftDown();
  void LeftUp(Point at);
  void CaptureLost();
  void KeyDown(ButtonKey key, bool alt);
  void KeyUp(ButtonKey key);
  // A key the window offers its controls; true when the button used it.
  bool DialogKey(ButtonKey key, bool shift, bool ctrl, bool alt);
  void FocusChanged(bool focused);
  // The focus moved somewhere in the window: onto this button, onto another hot button or
  // onto any other control.
  void FocusMoved(bool toThisButton, bool toHotButton);
  // The programmatic click, where the mouse, Space and Enter end as well.
  void Click();

 private:
  void PressAction();
  void SetPressedLook(bool pressed);
  void SetPointerOver(bool over);
  bool Inside(Point at) const { return Rect{0, 0, width_, height_}.Contains(at); }

  Host& host_;
  int width_;
  int height_;
  HotButtonState state_;
  int modalResult_ = 0;
  bool default_ = false;
};
