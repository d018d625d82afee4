#include "widgets/flat_combo_box.h"

#include <algorithm>

#include "widgets/draw.h"
#include "widgets/scoped_flag.h"

namespace {

constexpr char32_t kBackspace = 8;

// Any character a user can type and see: no control characters of either range.
bool IsPrintable(char32_t c) { return c >= 32 && c != 127 && !(c >= 0x80 && c <= 0x9F); }

std::u32string Folded(std::u32string text) {
  std::transform(text.begin(), text.end(), text.begin(), FoldCase);
  return text;
}

std::u32string Folded(const std::string& utf8) { return Folded(DecodeUtf8(utf8)); }

}  // namespace

Rect FlatComboButtonRect(int width, int height, int scrollBarWidth, DisplayScale scale) {
  const int border = 2 * scale.Line();
  return {width - scrollBarWidth - border, border, width - border, height - border};
}

// Every line is as wide as the scale's line, so the rings, the frame and the button's edge
// stay as sharp as at 96 and meet without gaps.
void PaintFlatComboOverlay(Surface& surface, const ColorScheme& scheme, const FlatComboLook& look,
                           DisplayScale scale) {
  const int line = scale.Line();
  const Rect client{0, 0, look.width, look.height};
  DrawRectBevel(surface, scheme, client, look.color, look.color, 2 * line);
  const Rect button = FlatComboButtonRect(look.width, look.height, look.scrollBarWidth, scale);
  if (!look.hot) {
    surface.FillRect(button, scheme.Resolve(look.color));
    DrawComboArrow(surface, scheme, button, look.enabled, false, look.color, scale);
  } else {
    const Rect inside =
        look.droppedDown
            ? DrawRectBevel(surface, scheme, button, clBtnShadow, clBtnHighlight, line)
            : DrawRectBevel(surface, scheme, button, clBtnHighlight, clBtnShadow, line);
    surface.FillRect(inside, scheme.Resolve(look.flatButtonColor));
    DrawComboArrow(surface, scheme, inside, look.enabled, look.droppedDown, look.flatButtonColor,
                   scale);
  }
  DrawRectBevel(surface, scheme, client, look.frameColor, look.frameColor, line);
}

int DroppedDownHeight(int entries, int rowHeight, int controlHeight, int dropDownCount) {
  const int rows = std::clamp(entries, 1, std::max(1, dropDownCount));
  return rows * rowHeight + controlHeight + 2;
}

char32_t FoldCase(char32_t c) {
  if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 0x20;  // Greek
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;                // Cyrillic Ѐ to Џ
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;                // Cyrillic А to Я
  return c;
}

std::u32string DecodeUtf8(const std::string& text) {
  std::u32string decoded;
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    const int length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length && i + k < text.size(); ++k)
      c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    decoded += c;
    i += length;
  }
  return decoded;
}

void FlatComboBox::SetSize(int width, int height, int scrollBarWidth) {
  width_ = width;
  height_ = height;
  scrollBarWidth_ = scrollBarWidth;
}

// Every line and the button follow the scale, and the platform's own parts follow the DPI the
// scale comes with: the whole control is drawn anew.
void FlatComboBox::SetScale(DisplayScale scale) {
  scale_ = scale;
  host_.Invalidate(ClientRect(), true);
}

FlatComboLook FlatComboBox::Look() const {
  FlatComboLook look;
  look.width = width_;
  look.height = height_;
  look.scrollBarWidth = scrollBarWidth_;
  look.color = color_;
  look.enabled = enabled_;
  look.hot = focused_ || pointerOver_;
  look.droppedDown = droppedDown_;
  return look;
}

void FlatComboBox::Paint(Surface& surface, const ColorScheme& scheme) const {
  PaintFlatComboOverlay(surface, scheme, Look(), scale_);
}

// Only the button strip and the right-hand border change with the hot state, and the face is
// left alone, so its text does not flicker; while the list is open the button stays sunk.
void FlatComboBox::UpdateHotState(bool& flag, bool on) {
  if (flag == on) return;
  flag = on;
  if (!droppedDown_)
    host_.Invalidate(
        {FlatComboButtonRect(width_, height_, scrollBarWidth_, scale_).left, 0, width_, height_},
        false);
  RefreshStateColor();
}

void FlatComboBox::OnFocusChanged(bool focused) {
  if (!focused) search_.clear();
  UpdateHotState(focused_, focused);
}

void FlatComboBox::OnPointerOver(bool over) { UpdateHotState(pointerOver_, over); }

void FlatComboBox::SetEnabled(bool enabled) {
  enabled_ = enabled;
  RefreshStateColor();
}

void FlatComboBox::OnDropDown() { droppedDown_ = true; }

void FlatComboBox::OnCloseUp() {
  droppedDown_ = false;
  host_.Invalidate(ClientRect(), true);
}

void FlatComboBox::OnPlatformSelect() {
  Click();
  Change();
}

void FlatComboBox::RefreshStateColor() {
  ScopedFlag guard(colorGuard_);
  SetColor(!enabled_ ? disabledColor_ : focused_ ? focusColor_ : normalColor_);
}

// A colour set from outside becomes the one shown when nothing else applies; the focus colour
// keeps following it for as long as the two were the same.
void FlatComboBox::SetColor(TColor color) {
  if (!colorGuard_) {
    if (focusColor_ == normalColor_) focusColor_ = color;
    normalColor_ = color;
  }
  if (color_ == color) return;
  color_ = color;
  host_.Invalidate(ClientRect(), true);
}

void FlatComboBox::SetFocusColor(TColor color) {
  focusColor_ = color;
  if (focused_) RefreshStateColor();
}

// Typed characters are used up here, so the platform's own first-letter search never runs.
bool FlatComboBox::OnChar(char32_t c) {
  if (c == kBackspace) {
    Backspace();
    return true;
  }
  if (!IsPrintable(c)) return false;
  {
    // A reset that arrives while a notification lets the message loop run leaves the text be.
    ScopedFlag keystroke(keystroke_);
    SearchAndSelect(search_ + c);
    host_.RestartSearchTimer(kSearchResetMilliseconds);
  }
  return true;
}

void FlatComboBox::Backspace() {
  if (search_.empty()) {
    SignalInvalidKey();
    SearchAndSelect(search_);
    return;
  }
  const std::u32string rest = search_.substr(0, search_.size() - 1);
  if (!rest.empty()) {
    SearchAndSelect(rest);
    return;
  }
  SetItemIndex(0);
  Click();
  Change();
  search_.clear();
}

void FlatComboBox::OnKeyDown(Key key) {
  if (key != Key::Other) search_.clear();
}

void FlatComboBox::OnSearchTimer() {
  if (keystroke_) return;
  host_.StopSearchTimer();
  search_.clear();
}

void FlatComboBox::SearchAndSelect(const std::u32string& text) {
  const int found = FindPrefix(text);
  if (found < 0) {
    SignalInvalidKey();
    return;
  }
  SetItemIndex(found);
  search_ = text;
  Click();
  Change();
}

void FlatComboBox::SignalInvalidKey() {
  if (BeepOnInvalidKey) host_.Beep();
}

// Every notch is used up here; the platform's own wheel handling never runs.
void FlatComboBox::OnWheel(int delta) {
  wheelAccumulated_ += delta;
  while (wheelAccumulated_ >= kWheelDelta) {
    wheelAccumulated_ -= kWheelDelta;
    WheelNotch(false);
  }
  while (wheelAccumulated_ <= -kWheelDelta) {
    wheelAccumulated_ += kWheelDelta;
    WheelNotch(true);
  }
}

void FlatComboBox::WheelNotch(bool down) {
  const int count = host_.Count();
  if (droppedDown_) {
    const int lines = std::clamp(host_.WheelScrollLines(), 1, std::max(1, count));
    const int top = host_.TopIndex();
    host_.SetTopIndex(down ? std::min(top + lines, std::max(0, count - 1))
                           : std::max(0, top - lines));
    return;
  }
  const int selected = host_.Selected();
  if (down) {
    if (selected + 1 >= count) return;
    SetItemIndex(selected + 1);
  } else if (selected <= 0) {
    if (count > 0) SetItemIndex(0);
    return;
  } else {
    SetItemIndex(selected - 1);
  }
  Click();
  Change();
}

int FlatComboBox::IndexOf(const std::string& text) const {
  const std::u32string wanted = Folded(text);
  for (int i = 0; i < host_.Count(); ++i)
    if (Folded(host_.Item(i)) == wanted) return i;
  return -1;
}

int FlatComboBox::FindPrefix(const std::u32string& text) const {
  const std::u32string wanted = Folded(text);
  for (int i = 0; i < host_.Count(); ++i)
    if (Folded(host_.Item(i)).starts_with(wanted)) return i;
  return -1;
}

void FlatComboBox::SetItemIndex(int index) {
  if (index != host_.Selected()) host_.Select(index);
}

void FlatComboBox::SetValues(std::vector<std::string> values) {
  values_ = std::move(values);
  ScopedFlag forcing(forcingValue_);
  SetValue(ValueOf(host_.Selected()));
}

std::string FlatComboBox::ValueOf(int index) const {
  if (index < 0) return {};
  if (index < static_cast<int>(values_.size()) && !values_[index].empty()) return values_[index];
  return index < host_.Count() ? host_.Item(index) : std::string();
}

void FlatComboBox::SetValue(const std::string& value) {
  if (value == value_ && !forcingValue_) return;
  ScopedFlag assigning(assigningValue_);
  int found = -1;
  for (int i = 0; i < host_.Count() && found < 0; ++i)
    if (ValueOf(i) == value) found = i;
  SetItemIndex(found);
  value_ = value;
}

void FlatComboBox::Click() {
  if (assigningValue_) return;
  if (OnClick) OnClick();
  if (host_.Selected() >= 0) SetValue(ValueOf(host_.Selected()));
}

void FlatComboBox::Change() {
  if (assigningValue_ || forcingValue_) return;
  if (OnChange) OnChange();
  if (host_.Selected() >= 0) SetValue(ValueOf(host_.Selected()));
}
