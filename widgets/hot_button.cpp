#include "widgets/hot_button.h"

#include "widgets/color_math.h"
#include "widgets/contrast.h"
#include "widgets/draw.h"
#include "widgets/scoped_flag.h"

namespace {

// The rings are drawn in lines `w` pixels wide, and their rounded corners step by w × w
// blocks: at any scale the same staircase as the 1-pixel one at 96.

// A rounded ring in the parent's colour, dark at the top left and light at the bottom right,
// with its three outermost corner blocks left bare.
void DrawOuterRing(Surface& s, const Rect& r, Rgb parent, int w) {
  const Rgb shade = ShadeColor(parent, 20);
  const Rgb tint = TintColor(parent, 20);
  const auto& [left, top, right, bottom] = r;
  s.FillRect({left, top + 2 * w, left + w, bottom - 2 * w}, shade);
  s.FillRect({left + 2 * w, top, right - 2 * w, top + w}, shade);
  s.FillRect({right - w, top + 2 * w, right, bottom - 2 * w}, tint);
  s.FillRect({left + 2 * w, bottom - w, right - 2 * w, bottom}, tint);
  const auto block = [w](int x, int y) { return Rect{x, y, x + w, y + w}; };
  s.FillRect(block(left + w, top + w), shade);
  s.FillRect(block(right - 2 * w, top + w), shade);
  s.FillRect(block(left + w, bottom - 2 * w), shade);
  s.FillRect(block(right - 2 * w, bottom - 2 * w), tint);
}

// Its four corner blocks are left out.
void DrawFrameRing(Surface& s, const Rect& r, Rgb color, int w) {
  const auto& [left, top, right, bottom] = r;
  s.FillRect({left, top + w, left + w, bottom - w}, color);
  s.FillRect({left + w, top, right - w, top + w}, color);
  s.FillRect({right - w, top + w, right, bottom - w}, color);
  s.FillRect({left + w, bottom - w, right - w, bottom}, color);
}

// Lit from above, with two darker lines, each `w` rows, at its foot.
void DrawPlainFace(Surface& s, const Rect& face, Rgb c, bool fullColor, int w) {
  const auto& [left, top, right, bottom] = face;
  s.FillRect({left, bottom - 2 * w, right, bottom - w}, ShadeColor(c, 20));
  s.FillRect({left, bottom - w, right, bottom}, ShadeColor(c, 30));
  const Rect upper{left, top, right, bottom - 2 * w};
  if (fullColor) {
    FillVerticalGradient(s, upper, TintColor(c, 30), ShadeColor(c, 10));
  } else {
    s.FillRect(upper, c);
  }
}

void DrawFace(Surface& s, const Rect& face, const HotButtonState& state, const HotButtonLook& look,
              const Display& display) {
  const ColorScheme& scheme = display.scheme;
  const Rgb c = scheme.Resolve(look.color);
  if (!state.enabled) {
    s.FillRect(face, c);
    return;
  }
  if (state.pressedLook) {
    s.FillRect(face, ShadeColor(c, 10));
    return;
  }
  DrawPlainFace(s, face, c, display.fullColor, display.scale.Line());
  if (state.pointerOver) {
    const Rgb hot = HotTrackBase(look.hotTrackColor, scheme, display.highContrast);
    if (look.hotTrackColorType == HotTrackColorType::htctComplement) {
      const Rgb opposite = OppositeHueColor(hot, 180);
      FillGradientRing(s, face, opposite, ShadeColor(opposite, 30), display.fullColor,
                       display.scale);
    } else {
      FillGradientRing(s, face, MixColors(RgbOf(clWhite), hot, 190), hot, display.fullColor,
                       display.scale);
    }
  } else if (state.active || state.focused) {
    // A highlight close to the face would vanish against it: it is darkened first.
    const Rgb highlight = scheme.Resolve(look.highlightColor);
    const Rgb edge = ColorsAreClose(highlight, scheme.Resolve(clBtnFace))
                         ? ShadeColor(highlight, 30)
                         : highlight;
    const Rgb light = TintColor(c, 30);
    FillGradientRing(s, face, MixColors(edge, light, 60), MixColors(edge, light, 160),
                     display.fullColor, display.scale);
  }
}

Rgb FrameColor(const HotButtonState& state, const HotButtonLook& look, const ColorScheme& scheme) {
  if (state.enabled) return scheme.Resolve(look.frameColor);
  return look.color == clBtnFace ? TintColor(scheme.Resolve(clBtnShadow), 30)
                                 : ShadeColor(scheme.Resolve(look.color), 80);
}

}  // namespace

void PaintHotButton(Surface& surface, const Rect& client, const HotButtonState& state,
                    const HotButtonLook& look, const Display& display, CaptionPainter& caption) {
  const ColorScheme& scheme = display.scheme;
  const int line = display.scale.Line();
  if (state.enabled) DrawOuterRing(surface, client, scheme.Resolve(look.parentColor), line);
  DrawFrameRing(surface, client.Shrunk(line), FrameColor(state, look, scheme), line);
  DrawFace(surface, client.Shrunk(2 * line), state, look, display);

  // Centred on its measured height; it stays in place while the button is held down.
  Rect text = client.Shrunk(display.scale.Px(5));
  const int height = caption.MeasureHeight(text);
  text.top = (text.top + text.bottom - height) / 2;
  text.bottom = text.top + height;
  caption.Draw(text, scheme.Resolve(state.enabled ? PairedTextColor(look.fontColor, look.color)
                                                  : clGrayText));

  // On the inner half of the focus ring, in black as long as black shows on the face.
  if (state.focused && look.showFocusRect)
    DrawDotBorder(surface, client.Shrunk(3 * line), display.scale,
                  ShownColor(clBlack, look.color, scheme, display.highContrast));
}

HotButton::HotButton(Host& host, int width, int height)
    : host_(host), width_(width), height_(height) {}

void HotButton::Resize(int width, int height) {
  width_ = width;
  height_ = height;
  host_.Repaint();
}

void HotButton::SetEnabled(bool enabled) {
  if (state_.enabled == enabled) return;
  // The focus goes and, on enabling again, does not come back.
  if (!enabled && state_.focused) host_.GiveUpFocus();
  state_.enabled = enabled;
  host_.EnableWindow(enabled);
  host_.Repaint();
}

void HotButton::SetPointerOver(bool over) {
  if (state_.pointerOver == over) return;
  state_.pointerOver = over;
  host_.Repaint();
}

void HotButton::SetPressedLook(bool pressed) {
  if (state_.pressedLook == pressed) return;
  state_.pressedLook = pressed;
  host_.Repaint();
}

void HotButton::PointerMove(Point at) {
  const bool inside = Inside(at);
  SetPointerOver(inside);
  if (inside && !state_.leaveTrackingRequested) {
    state_.leaveTrackingRequested = true;
    host_.TrackLeave();
  }
  if (state_.mouseTracking) SetPressedLook(inside);
}

void HotButton::PointerLeft() {
  state_.leaveTrackingRequested = false;
  SetPointerOver(false);
}

void HotButton::LeftDown() {
  if (!state_.enabled) return;
  // Held down only if the press could take the focus: a control that kept it wins.
  if (!host_.TakeFocus()) return;
  SetPressedLook(true);
  state_.mouseTracking = true;
  host_.CapturePointer();
}

void HotButton::LeftUp(Point at) {
  if (!state_.mouseTracking) return;
  state_.mouseTracking = false;
  SetPressedLook(false);
  // The pointer is free again before the click runs whatever it runs.
  host_.ReleasePointer();
  if (Inside(at)) PressAction();
  host_.Repaint();
}

// The pointer went elsewhere without a release here: nothing is held down any longer, and the
// pointer must be tracked afresh.
void HotButton::CaptureLost() {
  state_.mouseTracking = false;
  state_.leaveTrackingRequested = false;
  SetPressedLook(false);
}

void HotButton::KeyDown(ButtonKey key, bool alt) {
  if (key == ButtonKey::Space && !alt) {
    state_.keyArmed = true;
    SetPressedLook(true);
  } else if (key == ButtonKey::F4 && state_.focused) {
    // F4 drops a menu down; the click that follows belongs to the menu, even when there is none.
    state_.skipNextClick = true;
  }
}

void HotButton::KeyUp(ButtonKey key) {
  if (key != ButtonKey::Space) return;
  SetPressedLook(false);
  // Armed stays set until the focus leaves.
  if (state_.keyArmed) PressAction();
  host_.Repaint();
}

bool HotButton::DialogKey(ButtonKey key, bool shift, bool ctrl, bool alt) {
  if (key != ButtonKey::Enter || !state_.active || shift || ctrl || alt || !state_.enabled)
    return false;
  Click();
  return true;
}

void HotButton::FocusChanged(bool focused) {
  state_.focused = focused;
  if (!focused) {
    state_.keyArmed = false;
    state_.pressedLook = false;
  }
  host_.Repaint();
}

void HotButton::FocusMoved(bool toThisButton, bool toHotButton) {
  const bool active = toHotButton ? toThisButton : default_;
  if (state_.active == active) return;
  state_.active = active;
  host_.Repaint();
}

void HotButton::PressAction() {
  host_.Repaint();
  const ScopedFlag clicking(state_.clicking);
  Click();
}

void HotButton::Click() {
  if (state_.skipNextClick) {
    state_.skipNextClick = false;
    return;
  }
  host_.SetOwnerModalResult(modalResult_);
  host_.RaiseClick();
}
