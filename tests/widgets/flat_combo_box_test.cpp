#include "widgets/flat_combo_box.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "widgets/pixel_surface.h"

namespace {

constexpr int kWidth = 217;
constexpr int kHeight = 21;
constexpr int kScrollBar = 16;
constexpr int kPageRows = 8;

// The native list as far as the state machine sees it, with a clock for the search timer.
class FakeList : public FlatComboBoxHost {
 public:
  explicit FakeList(std::vector<std::string> entries = {}, int selected = -1)
      : items(std::move(entries)), selected(selected) {}

  int Count() const override { return static_cast<int>(items.size()); }
  std::string Item(int index) const override { return items.at(index); }
  int Selected() const override { return selected; }
  void Select(int index) override { selected = index; }
  int TopIndex() const override { return top; }
  // A list box keeps its last page full.
  void SetTopIndex(int index) override {
    top = std::clamp(index, 0, std::max(0, Count() - kPageRows));
  }
  int WheelScrollLines() const override { return 3; }
  void Beep() override { ++beeps; }
  void RestartSearchTimer(int milliseconds) override {
    interval = milliseconds;
    deadline = now + milliseconds;
  }
  void StopSearchTimer() override { deadline = -1; }
  void Invalidate(const Rect& area, bool erase) override { invalidated.push_back({area, erase}); }

  // Lets time pass as the message loop would, with the timer firing when due.
  void Advance(FlatComboBox& box, int milliseconds) {
    now += milliseconds;
    if (deadline < 0 || now < deadline) return;
    deadline = now + interval;
    box.OnSearchTimer();
  }

  std::vector<std::string> items;
  int selected;
  int top = 0;
  int beeps = 0;
  long now = 0;
  long deadline = -1;
  int interval = 0;
  std::vector<std::pair<Rect, bool>> invalidated;
};

// --- the look -----------------------------------------------------------------------------------

// The button area B = (199, 2, 215, 19) one character a pixel: C the background colour, A the
// arrow, H highlight, S shadow, F the button face.
const std::vector<std::string> kIdleButton = {
    "CCCCCCCCCCCCCCCC", "CCCCCCCCCCCCCCCC", "CCCCCCCCCCCCCCCC", "CCCCCCCCCCCCCCCC",
    "CCCCCCCCCCCCCCCC", "CCCCCCCCCCCCCCCC", "CCCCCCCCCCCCCCCC", "CCCCCAAAAAAACCCC",
    "CCCCCCAAAAACCCCC", "CCCCCCCAAACCCCCC", "CCCCCCCCACCCCCCC", "CCCCCCCCCCCCCCCC",
    "CCCCCCCCCCCCCCCC", "CCCCCCCCCCCCCCCC", "CCCCCCCCCCCCCCCC", "CCCCCCCCCCCCCCCC",
    "CCCCCCCCCCCCCCCC"};
const std::vector<std::string> kRaisedButton = {
    "HHHHHHHHHHHHHHHS", "HFFFFFFFFFFFFFFS", "HFFFFFFFFFFFFFFS", "HFFFFFFFFFFFFFFS",
    "HFFFFFFFFFFFFFFS", "HFFFFFFFFFFFFFFS", "HFFFFFFFFFFFFFFS", "HFFFFAAAAAAAFFFS",
    "HFFFFFAAAAAFFFFS", "HFFFFFFAAAFFFFFS", "HFFFFFFFAFFFFFFS", "HFFFFFFFFFFFFFFS",
    "HFFFFFFFFFFFFFFS", "HFFFFFFFFFFFFFFS", "HFFFFFFFFFFFFFFS", "HFFFFFFFFFFFFFFS",
    "SSSSSSSSSSSSSSSS"};
const std::vector<std::string> kSunkButton = {
    "SSSSSSSSSSSSSSSH", "SFFFFFFFFFFFFFFH", "SFFFFFFFFFFFFFFH", "SFFFFFFFFFFFFFFH",
    "SFFFFFFFFFFFFFFH", "SFFFFFFFFFFFFFFH", "SFFFFFFFFFFFFFFH", "SFFFFFFFFFFFFFFH",
    "SFFFFFAAAAAAAFFH", "SFFFFFFAAAAAFFFH", "SFFFFFFFAAAFFFFH", "SFFFFFFFFAFFFFFH",
    "SFFFFFFFFFFFFFFH", "SFFFFFFFFFFFFFFH", "SFFFFFFFFFFFFFFH", "SFFFFFFFFFFFFFFH",
    "HHHHHHHHHHHHHHHH"};

// Every pixel of the control after the overlay: the platform's own painting (kPlatform)
// shows only inside the rings and left of the button.
TEST(FlatComboBox, LookOfTheDriveListByStatePixelByPixel) {
  constexpr Rgb kPlatform{1, 2, 3};
  FixedColorScheme classic;
  // The classic window colour equals the highlight: a scheme that tells every colour apart
  // catches one drawn in place of the other.
  FixedColorScheme distinct;
  distinct.Set(clWindow, {230, 240, 250});
  const Rect button{199, 2, 215, 19};
  EXPECT_EQ(FlatComboButtonRect(kWidth, kHeight, kScrollBar), button);

  struct Case {
    const char* state;
    bool pointer, focus, open, enabled;
    const std::vector<std::string>* picture;
    TColor background, arrow;
  };
  const Case cases[] = {
      {"idle", false, false, false, true, &kIdleButton, clWindow, clBlack},
      {"pointed at", true, false, false, true, &kRaisedButton, clWindow, clBlack},
      {"focused", false, true, false, true, &kRaisedButton, clWindow, clBlack},
      {"open", false, true, true, true, &kSunkButton, clWindow, clBlack},
      {"disabled", false, false, false, false, &kIdleButton, clBtnFace, clBtnShadow},
      {"disabled, pointed at", true, false, false, false, &kRaisedButton, clBtnFace, clBtnShadow},
  };
  for (const FixedColorScheme* scheme : {&classic, &distinct}) {
    for (const Case& c : cases) {
      FakeList list({"E:\\"}, 0);
      FlatComboBox box(list);
      box.SetSize(kWidth, kHeight, kScrollBar);
      box.OnPointerOver(c.pointer);
      box.OnFocusChanged(c.focus);
      if (c.open) box.OnDropDown();
      box.SetEnabled(c.enabled);
      PixelSurface s(kWidth, kHeight, kPlatform);
      box.Paint(s, *scheme);

      const auto resolve = [&](char name) {
        switch (name) {
          case 'C':
            return scheme->Resolve(c.background);
          case 'A':
            return scheme->Resolve(c.arrow);
          case 'H':
            return scheme->Resolve(clBtnHighlight);
          case 'S':
            return scheme->Resolve(clBtnShadow);
          default:
            return scheme->Resolve(clBtnFace);
        }
      };
      int wrong = 0;
      for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
          const int ring = std::min({x, y, kWidth - 1 - x, kHeight - 1 - y});
          const Rgb expected = ring == 0   ? scheme->Resolve(clBtnShadow)
                               : ring == 1 ? scheme->Resolve(c.background)
                               : button.Contains({x, y})
                                   ? resolve((*c.picture)[y - button.top][x - button.left])
                                   : kPlatform;
          if (s.Pixel({x, y}) != expected && ++wrong <= 3)
            ADD_FAILURE() << c.state << ": pixel " << x << "," << y;
        }
      }
      EXPECT_EQ(wrong, 0) << c.state;
    }
  }
}

TEST(FlatComboBox, ButtonFollowsTheScrollBarWidthAndTheListItsEntries) {
  EXPECT_EQ(FlatComboButtonRect(kWidth, kHeight, 17), (Rect{198, 2, 215, 19}));
  const struct {
    int entries, height;
  } lists[] = {{0, 36}, {1, 36}, {2, 49}, {8, 127}, {9, 127}, {30, 127}};
  for (const auto& l : lists)
    EXPECT_EQ(DroppedDownHeight(l.entries, 13, kHeight, 8), l.height) << l.entries << " entries";
}

// At 150 % (144 DPI) the drive list is 326 x 32 and the platform's scroll bar 26 wide; every
// line is 2 pixels. Pins on both sides of each edge: C the background colour, P the platform's
// painting, S shadow, H highlight, F the button face, A the arrow.
TEST(FlatComboBox, DrawnAtOneAndAHalfTimesTheScale) {
  constexpr int kW = 326, kH = 32, kS = 26;
  constexpr Rgb kPlatform{1, 2, 3};
  FixedColorScheme scheme;
  scheme.Set(clWindow, {230, 240, 250});
  const DisplayScale scale(144);
  EXPECT_EQ(FlatComboButtonRect(kW, kH, kS, scale), (Rect{296, 4, 322, 28}));

  enum class State { Idle, Hot, Open };
  const struct {
    const char* what;
    State state;
    char color;
    std::vector<Point> at;
  } pins[] = {
      {"frame", State::Hot, 'S', {{0, 16}, {1, 16}, {16, 0}, {16, 1}, {324, 16}, {16, 30}}},
      {"ring", State::Hot, 'C', {{2, 16}, {3, 16}, {16, 3}, {322, 16}, {323, 16}, {16, 28}}},
      {"platform inside the ring", State::Hot, 'P', {{4, 16}, {16, 4}, {16, 27}, {295, 16}}},
      {"raised edge, light", State::Hot, 'H', {{296, 4}, {297, 5}, {297, 25}, {310, 5}, {320, 4}}},
      {"raised edge, dark", State::Hot, 'S', {{321, 4}, {320, 5}, {320, 25}, {310, 26}, {296, 27}}},
      {"inside the raised edge", State::Hot, 'F', {{298, 6}, {319, 6}, {298, 25}, {319, 25}}},
      {"arrow: tip and widest row", State::Hot, 'A', {{309, 18}, {304, 13}, {314, 13}, {307, 16}}},
      {"around the arrow",
       State::Hot,
       'F',
       {{308, 18}, {310, 18}, {309, 19}, {309, 12}, {303, 13}}},
      {"sunk edge, dark", State::Open, 'S', {{296, 4}, {297, 5}, {320, 4}, {297, 25}}},
      {"sunk edge, light", State::Open, 'H', {{321, 4}, {320, 5}, {310, 26}, {296, 27}}},
      {"arrow moved by a line", State::Open, 'A', {{311, 20}, {306, 15}, {316, 15}}},
      {"beside the moved arrow", State::Open, 'F', {{308, 18}, {305, 15}, {311, 21}, {311, 14}}},
      {"idle button area", State::Idle, 'C', {{296, 4}, {321, 27}, {308, 18}, {309, 19}}},
      {"idle arrow", State::Idle, 'A', {{309, 18}, {304, 13}, {314, 13}}},
  };
  for (const auto& pin : pins) {
    FakeList list({"E:\\"}, 0);
    FlatComboBox box(list);
    box.SetSize(kW, kH, kS);
    box.SetScale(scale);
    box.OnPointerOver(pin.state != State::Idle);
    if (pin.state == State::Open) box.OnDropDown();
    PixelSurface s(kW, kH, kPlatform);
    box.Paint(s, scheme);
    const Rgb expected = pin.color == 'C'   ? scheme.Resolve(clWindow)
                         : pin.color == 'P' ? kPlatform
                         : pin.color == 'S' ? scheme.Resolve(clBtnShadow)
                         : pin.color == 'H' ? scheme.Resolve(clBtnHighlight)
                         : pin.color == 'F' ? scheme.Resolve(clBtnFace)
                                            : RgbOf(clBlack);
    for (const Point p : pin.at)
      EXPECT_EQ(s.Pixel(p), expected) << pin.what << " at " << p.x << "," << p.y;
  }

  // The scale repaints the whole control; the hot state only the strip from the button on.
  FakeList list;
  FlatComboBox box(list);
  box.SetSize(kW, kH, kS);
  box.SetScale(scale);
  box.OnPointerOver(true);
  EXPECT_EQ(list.invalidated, (std::vector<std::pair<Rect, bool>>{{{0, 0, kW, kH}, true},
                                                                  {{296, 0, kW, kH}, false}}));
}

// --- hot state, colours and repaints ------------------------------------------------------------

TEST(FlatComboBox, HotStateRepaintsOnlyTheButtonStripAndColourFollowsTheState) {
  const Rect strip{199, 0, 217, 21};
  const Rect whole{0, 0, 217, 21};
  constexpr TColor kYellow = 0x00FFFF;
  struct Step {
    const char* what;
    void (*act)(FlatComboBox&);
    TColor color;
    std::vector<std::pair<Rect, bool>> repaints;
  };
  const Step steps[] = {
      {"pointer enters",
       [](FlatComboBox& b) { b.OnPointerOver(true); },
       clWindow,
       {{strip, false}}},
      {"pointer moves on", [](FlatComboBox& b) { b.OnPointerOver(true); }, clWindow, {}},
      {"focus", [](FlatComboBox& b) { b.OnFocusChanged(true); }, clWindow, {{strip, false}}},
      {"list opens", [](FlatComboBox& b) { b.OnDropDown(); }, clWindow, {}},
      {"pointer leaves the open list",
       [](FlatComboBox& b) { b.OnPointerOver(false); },
       clWindow,
       {}},
      {"list closes", [](FlatComboBox& b) { b.OnCloseUp(); }, clWindow, {{whole, true}}},
      {"program sets red", [](FlatComboBox& b) { b.SetColor(clRed); }, clRed, {{whole, true}}},
      {"focus colour followed",
       [](FlatComboBox& b) { EXPECT_EQ(b.FocusColor(), clRed); },
       clRed,
       {}},
      {"focus colour set while focused",
       [](FlatComboBox& b) { b.SetFocusColor(kYellow); },
       kYellow,
       {{whole, true}}},
      {"focus lost",
       [](FlatComboBox& b) { b.OnFocusChanged(false); },
       clRed,
       {{strip, false}, {whole, true}}},
      {"disabled", [](FlatComboBox& b) { b.SetEnabled(false); }, clBtnFace, {{whole, true}}},
      {"focused while disabled",
       [](FlatComboBox& b) { b.OnFocusChanged(true); },
       clBtnFace,
       {{strip, false}}},
      {"enabled", [](FlatComboBox& b) { b.SetEnabled(true); }, kYellow, {{whole, true}}},
  };
  FakeList list({"E:\\"}, 0);
  FlatComboBox box(list);
  box.SetSize(kWidth, kHeight, kScrollBar);
  for (const Step& step : steps) {
    list.invalidated.clear();
    step.act(box);
    EXPECT_EQ(box.Color(), step.color) << step.what;
    EXPECT_EQ(list.invalidated, step.repaints) << step.what;
  }
}

// --- keyboard search and wheel ------------------------------------------------------------------

enum class Event { Type, TypeWhileLoopRuns, Backspace, Key, Wait, Wheel, Open, Close, Blur };

struct Step {
  Event event;
  int argument;  // the character, the key, the milliseconds or the wheel delta
  int selected;
  const char* search;  // UTF-8
  int beeps, clicks, changes, top;
};

struct Scenario {
  const char* name;
  std::vector<std::string> entries;
  int selected;
  std::vector<Step> steps;
};

using enum Event;
constexpr int kDown = static_cast<int>(FlatComboBox::Key::Down);
constexpr int kEscape = static_cast<int>(FlatComboBox::Key::Escape);
constexpr int kHome = static_cast<int>(FlatComboBox::Key::Home);
constexpr int kOther = static_cast<int>(FlatComboBox::Key::Other);

// Each step, then what holds after it: selection, search text, alert sounds, click and change
// notifications so far, top row of the list.
const Scenario kScenarios[] = {
    {"a miss keeps the search text; the pause resets it",
     {"D:\\", "E:\\"},
     0,
     {{Type, 'e', 1, "e", 0, 1, 1, 0},
      {Wait, 1000, 1, "e", 0, 1, 1, 0},
      {Type, 'x', 1, "e", 1, 1, 1, 0},
      {Wait, 1499, 1, "e", 1, 1, 1, 0},
      {Wait, 1, 1, "", 1, 1, 1, 0},
      {Type, 'd', 0, "d", 1, 2, 2, 0}}},
    {"two letters no entry begins with",
     {"E:\\", "F:\\"},
     0,
     {{Type, 'e', 0, "e", 0, 1, 1, 0},
      {Type, 'f', 0, "e", 1, 1, 1, 0},
      {Wait, 1500, 0, "", 1, 1, 1, 0},
      {Type, 'F', 1, "F", 1, 2, 2, 0},
      {Type, ':', 1, "F:", 1, 3, 3, 0}}},
    {"Cyrillic letters in either case; Backspace",
     {"Диск А", "Диск Б", "Дом"},
     -1,
     {{Type, U'д', 0, "д", 0, 1, 1, 0},
      {Type, U'О', 2, "дО", 0, 2, 2, 0},
      {Wait, 1000, 2, "дО", 0, 2, 2, 0},
      {Backspace, 0, 0, "д", 0, 3, 3, 0},
      {Wait, 499, 0, "д", 0, 3, 3, 0},  // Backspace did not restart the timer
      {Wait, 1, 0, "", 0, 3, 3, 0},
      {Type, U'д', 0, "д", 0, 4, 4, 0},
      {Type, U'И', 0, "дИ", 0, 5, 5, 0},
      {Type, U'с', 0, "дИс", 0, 6, 6, 0},
      {Type, U'к', 0, "дИск", 0, 7, 7, 0},
      {Type, U' ', 0, "дИск ", 0, 8, 8, 0},
      {Type, U'б', 1, "дИск б", 0, 9, 9, 0}}},
    {"Backspace emptying the search selects the first entry",
     {"E:\\", "F:\\"},
     1,
     {{Type, 'f', 1, "f", 0, 1, 1, 0},
      {Backspace, 0, 0, "", 0, 2, 2, 0},
      {Backspace, 0, 0, "", 1, 3, 3, 0}}},
    {"navigation keys and focus loss clear the search, other keys do not",
     {"E:\\", "F:\\"},
     0,
     {{Type, 'f', 1, "f", 0, 1, 1, 0},
      {Key, kOther, 1, "f", 0, 1, 1, 0},
      {Key, kDown, 1, "", 0, 1, 1, 0},
      {Type, 'e', 0, "e", 0, 2, 2, 0},
      {Key, kEscape, 0, "", 0, 2, 2, 0},
      {Type, 'e', 0, "e", 0, 3, 3, 0},
      {Key, kHome, 0, "", 0, 3, 3, 0},
      {Type, 'f', 1, "f", 0, 4, 4, 0},
      {Blur, 0, 1, "", 0, 4, 4, 0},
      {Type, '\r', 1, "", 0, 4, 4, 0}}},
    {"a reset due while a notification runs the message loop leaves the search alone",
     {"E:\\", "F:\\"},
     0,
     {{Type, 'e', 0, "e", 0, 1, 1, 0},
      {TypeWhileLoopRuns, ':', 0, "e:", 0, 2, 2, 0},
      {Wait, 1499, 0, "e:", 0, 2, 2, 0},
      {Wait, 1, 0, "", 0, 2, 2, 0}}},
    {"wheel with the list closed: one entry a notch, stopping at both ends",
     {"D:\\", "E:\\", "F:\\"},
     -1,
     {{Wheel, -120, 0, "", 0, 1, 1, 0},
      {Wheel, -60, 0, "", 0, 1, 1, 0},
      {Wheel, -60, 1, "", 0, 2, 2, 0},
      {Wheel, -240, 2, "", 0, 3, 3, 0},
      {Wheel, -120, 2, "", 0, 3, 3, 0},
      {Wheel, 240, 0, "", 0, 5, 5, 0},
      {Wheel, 120, 0, "", 0, 5, 5, 0}}},
    {"wheel up with nothing selected selects the first entry quietly",
     {"D:\\", "E:\\"},
     -1,
     {{Wheel, 120, 0, "", 0, 0, 0, 0}}},
    {"wheel with the list open scrolls it and keeps the selection",
     {"C:\\", "D:\\", "E:\\", "F:\\", "G:\\", "H:\\", "I:\\", "J:\\", "K:\\", "L:\\", "M:\\",
      "N:\\"},
     1,
     {{Open, 0, 1, "", 0, 0, 0, 0},
      {Wheel, -120, 1, "", 0, 0, 0, 3},
      {Wheel, -120, 1, "", 0, 0, 0, 4},
      {Wheel, 120, 1, "", 0, 0, 0, 1},
      {Wheel, 120, 1, "", 0, 0, 0, 0},
      {Close, 0, 1, "", 0, 0, 0, 0},
      {Wheel, -120, 2, "", 0, 1, 1, 0}}},
};

TEST(FlatComboBox, KeyboardSearchAndWheelAsOneStateMachine) {
  for (const Scenario& scenario : kScenarios) {
    FakeList list(scenario.entries, scenario.selected);
    FlatComboBox box(list);
    box.SetSize(kWidth, kHeight, kScrollBar);
    box.OnFocusChanged(true);
    int clicks = 0, changes = 0;
    bool loopRuns = false;
    box.OnClick = [&] {
      ++clicks;
      if (loopRuns) list.Advance(box, 2000);
    };
    box.OnChange = [&] { ++changes; };
    int number = 0;
    for (const Step& step : scenario.steps) {
      ++number;
      switch (step.event) {
        case TypeWhileLoopRuns:
          loopRuns = true;
          [[fallthrough]];
        case Type:
          EXPECT_EQ(box.OnChar(static_cast<char32_t>(step.argument)), step.argument >= 32);
          loopRuns = false;
          break;
        case Backspace:
          EXPECT_TRUE(box.OnChar(8));
          break;
        case Key:
          box.OnKeyDown(static_cast<FlatComboBox::Key>(step.argument));
          break;
        case Wait:
          list.Advance(box, step.argument);
          break;
        case Wheel:
          box.OnWheel(step.argument);
          break;
        case Open:
          box.OnDropDown();
          break;
        case Close:
          box.OnCloseUp();
          break;
        case Blur:
          box.OnFocusChanged(false);
          break;
      }
      const std::string where = std::string(scenario.name) + ", step " + std::to_string(number);
      EXPECT_EQ(list.selected, step.selected) << where;
      EXPECT_EQ(box.SearchText(), DecodeUtf8(step.search)) << where;
      EXPECT_EQ(list.beeps, step.beeps) << where;
      EXPECT_EQ(clicks, step.clicks) << where;
      EXPECT_EQ(changes, step.changes) << where;
      EXPECT_EQ(list.top, step.top) << where;
    }
  }
}

// --- entries and values -------------------------------------------------------------------------

TEST(FlatComboBox, IndexOfMatchesWholeTextsIgnoringCase) {
  FakeList list({"D:\\", "E:\\", "Диск Ё", "Ärger"});
  FlatComboBox box(list);
  const struct {
    const char* text;
    int index;
  } cases[] = {{"e:\\", 1},   {"E:\\", 1},  {"E:", -1}, {"E:\\\\", -1},
               {"дИСК ё", 2}, {"äRGER", 3}, {"", -1}};
  for (const auto& c : cases) EXPECT_EQ(box.IndexOf(c.text), c.index) << c.text;
}

TEST(FlatComboBox, ItemIndexWritesAndValuesRaiseNoNotifications) {
  FakeList list({"E:\\", "F:\\", "G:\\"}, -1);
  FlatComboBox box(list);
  int notifications = 0;
  box.OnClick = box.OnChange = [&] { ++notifications; };
  box.SetItemIndex(1);
  EXPECT_EQ(box.ItemIndex(), 1);
  // Values by position; an empty line falls back to the entry's text.
  box.SetValues({"first", "", "third"});
  EXPECT_EQ(box.Value(), "F:\\");
  EXPECT_EQ(box.ValueOf(0), "first");
  box.SetValue("third");
  EXPECT_EQ(box.ItemIndex(), 2);
  box.SetValue("none");
  EXPECT_EQ(box.ItemIndex(), -1);
  EXPECT_EQ(notifications, 0);
  // A wheel step assigns the value of the entry it lands on.
  box.OnWheel(-120);
  EXPECT_EQ((std::pair{box.ItemIndex(), box.Value()}), (std::pair{0, std::string("first")}));
  EXPECT_EQ(notifications, 2);
}

}  // namespace
