#pragma once

#include <functional>
#include <string>
#include <vector>

#include "widgets/color_scheme.h"
#include "widgets/display_scale.h"
#include "widgets/surface.h"

// The flat drop-down list: a native pick-only combo box whose 3-D border and button are painted
// over with a flat frame and a flat button, with its own keyboard search and wheel handling.
// This part holds the state and the painting; flat_combo_box_win.* feeds it window messages.

// What the overlay is drawn from: flags and sizes in, pixels out.
struct FlatComboLook {
  int width = 0;
  int height = 0;
  int scrollBarWidth = 16;  // the platform's vertical scroll-bar width, also its button's width
  TColor color = clWindow;
  TColor frameColor = clBtnShadow;
  TColor flatButtonColor = clBtnFace;
  bool enabled = true;
  bool hot = false;  // pointed at or focused
  bool droppedDown = false;
};

// The button: the platform's button area, inside the border of two lines.
Rect FlatComboButtonRect(int width, int height, int scrollBarWidth, DisplayScale scale = {});

// Drawn after the platform has painted the control: the border covered in the background
// colour, the flat button by state, then the frame, one line wide.
void PaintFlatComboOverlay(Surface& surface, const ColorScheme& scheme, const FlatComboLook& look,
                           DisplayScale scale);

// Height of face and open list together, asked of the platform each time the list opens.
int DroppedDownHeight(int entries, int rowHeight, int controlHeight, int dropDownCount);

// Letter case folded for search and lookup: the letters of ASCII, Latin-1, Greek and Cyrillic.
char32_t FoldCase(char32_t c);
std::u32string DecodeUtf8(const std::string& text);

// The native list and the services the state machine drives.
class FlatComboBoxHost {
 public:
  virtual ~FlatComboBoxHost() = default;
  virtual int Count() const = 0;
  virtual std::string Item(int index) const = 0;  // UTF-8
  virtual int Selected() const = 0;
  // Selects without notifications; -1 for none.
  virtual void Select(int index) = 0;
  virtual int TopIndex() const = 0;
  virtual void SetTopIndex(int index) = 0;
  virtual int WheelScrollLines() const = 0;
  virtual void Beep() = 0;
  virtual void RestartSearchTimer(int milliseconds) = 0;
  virtual void StopSearchTimer() = 0;
  virtual void Invalidate(const Rect& area, bool erase) = 0;
};

class FlatComboBox {
 public:
  // Keys whose press ends a keyboard search before the platform list handles them.
  enum class Key { Escape, PageUp, PageDown, End, Home, Left, Up, Right, Down, Other };

  static constexpr int kSearchResetMilliseconds = 1500;
  static constexpr int kWheelDelta = 120;

  explicit FlatComboBox(FlatComboBoxHost& host) : host_(host) {}

  std::function<void()> OnClick;
  std::function<void()> OnChange;
  bool BeepOnInvalidKey = true;
  int DropDownCount = 8;

  // Geometry and flags fed by the window.
  void SetSize(int width, int height, int scrollBarWidth);
  void SetScale(DisplayScale scale);
  void OnFocusChanged(bool focused);
  void OnPointerOver(bool over);
  void SetEnabled(bool enabled);
  void OnDropDown();
  void OnCloseUp();
  // The platform moved the selection (a row picked, an arrow key).
  void OnPlatformSelect();

  FlatComboLook Look() const;
  void Paint(Surface& surface, const ColorScheme& scheme) const;
  Rect ClientRect() const { return {0, 0, width_, height_}; }

  // Colours by state.
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  void SetFocusColor(TColor color);
  TColor FocusColor() const { return focusColor_; }
  void RefreshStateColor();

  // Input. OnChar reports whether the character was used up; a key press always goes on to
  // the platform list afterwards, a wheel turn never does.
  bool OnChar(char32_t c);
  void OnKeyDown(Key key);
  void OnSearchTimer();
  void OnWheel(int delta);
  const std::u32string& SearchText() const { return search_; }

  // Entries.
  int IndexOf(const std::string& text) const;
  int FindPrefix(const std::u32string& text) const;
  int ItemIndex() const { return host_.Selected(); }
  void SetItemIndex(int index);

  // An optional value per entry; the current value follows the selection.
  void SetValues(std::vector<std::string> values);
  std::string ValueOf(int index) const;
  const std::string& Value() const { return value_; }
  void SetValue(const std::string& value);

 private:
  void UpdateHotState(bool& flag, bool on);
  void SearchAndSelect(const std::u32string& text);
  void SignalInvalidKey();
  void Backspace();
  void WheelNotch(bool down);
  void Click();
  void Change();

  FlatComboBoxHost& host_;
  int width_ = 0;
  int height_ = 0;
  int scrollBarWidth_ = 16;
  DisplayScale scale_;
  bool enabled_ = true;
  bool focused_ = false;
  bool pointerOver_ = false;
  bool droppedDown_ = false;
  TColor color_ = clWindow;
  TColor normalColor_ = clWindow;
  TColor focusColor_ = clWindow;
  TColor disabledColor_ = clBtnFace;
  bool colorGuard_ = false;
  std::u32string search_;
  bool keystroke_ = false;
  int wheelAccumulated_ = 0;
  std::vector<std::string> values_;
  std::string value_;
  bool assigningValue_ = false;
  bool forcingValue_ = false;
};
