#include "widgets/image_button.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "widgets/pixel_surface.h"

namespace {

constexpr Rgb kBehind{212, 208, 200};
const std::map<char, Rgb> kLegend = {{'W', {255, 255, 255}}, {'n', {255, 254, 252}},
                                     {'b', {14, 139, 195}},  {'g', {200, 200, 200}},
                                     {'f', {212, 208, 200}}, {'r', {255, 0, 0}}};

std::uint32_t Packed(Rgb c) { return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b; }

// One character per pixel, named in kLegend.
Picture Drawn(const std::vector<std::string>& rows) {
  std::vector<std::uint32_t> pixels;
  for (const std::string& row : rows)
    for (char c : row) pixels.push_back(Packed(kLegend.at(c)));
  return {static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), std::move(pixels)};
}

Picture Plain(int width, int height, Rgb color) {
  return {width, height,
          std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, Packed(color))};
}

// The surface read back in the legend's characters; '.' for what was there before.
std::vector<std::string> Read(const PixelSurface& s) {
  std::vector<std::string> rows;
  for (int y = 0; y < s.Height(); ++y) {
    std::string row;
    for (int x = 0; x < s.Width(); ++x) {
      char c = '?';
      for (const auto& [name, color] : kLegend)
        if (s.Pixel({x, y}) == color) c = name;
      if (s.Pixel({x, y}) == Rgb{1, 2, 3}) c = '.';
      row += c;
    }
    rows.push_back(row);
  }
  return rows;
}

TEST(DrawImageKeyed, OnlyTheExactKeyColourIsSeeThroughWhereverItIs) {
  struct Case {
    const char* name;
    TColor key;
    Rect destination, source;
    std::vector<std::string> expected;
  };
  // A badge on white, with white inside it too and near-white on its rim.
  const Picture badge = Drawn({"WbbW", "nWbr", "WbbW"});
  FixedColorScheme scheme;
  scheme.Set(clBtnFace, kLegend.at('b'));
  const Case cases[] = {
      {"white key", clWhite, {0, 0, 4, 3}, {0, 0, 4, 3}, {".bb...", "n.br..", ".bb...", "......"}},
      {"system colour key",
       clBtnFace,
       {1, 1, 5, 4},
       {0, 0, 4, 3},
       {"......", ".W..W.", ".nW.r.", ".W..W."}},
      {"part of the picture",
       clWhite,
       {2, 0, 4, 2},
       {2, 1, 4, 3},
       {"..br..", "..b...", "......", "......"}},
      {"scaled to twice its size",
       clWhite,
       {0, 0, 4, 4},
       {1, 1, 3, 3},
       {"..bb..", "..bb..", "bbbb..", "bbbb.."}},
  };
  for (const Case& c : cases) {
    PixelSurface s(6, 4, {1, 2, 3});
    DrawImageKeyed(s, scheme, badge, c.destination, c.key, c.source);
    EXPECT_EQ(Read(s), c.expected) << c.name;
  }
}

TEST(TImageButtonBitmaps, EveryChangeIsReportedAndTheKeyStartsOlive) {
  TImageButtonBitmaps bitmaps;
  EXPECT_EQ(bitmaps.TransparentColor(), clOlive);
  int changes = 0;
  bitmaps.OnChange = [&] { ++changes; };
  bitmaps.SetImage(ButtonImage::Hot, Plain(2, 2, kBehind));
  bitmaps.SetTransparentColor(clWhite);
  bitmaps.SetImage(ButtonImage::Hot, {});
  EXPECT_EQ(changes, 3);
  EXPECT_TRUE(bitmaps.Image(ButtonImage::Hot).Empty());
  EXPECT_EQ(bitmaps.TransparentColor(), clWhite);
}

TEST(SizeToBitmap, TheButtonTakesTheSizeOfUpWhateverIsAsked) {
  struct Case {
    TBtnSize mode;
    bool withUp;
    Extent requested, expected;
  };
  for (const Case& c : {Case{bszButtonToBitmap, true, {80, 30}, {32, 24}},
                        Case{bszButtonToBitmap, true, {33, 24}, {32, 24}},
                        Case{bszButtonToBitmap, true, {32, 24}, {32, 24}},
                        Case{bszButtonToBitmap, false, {33, 24}, {33, 24}},
                        Case{bszNeither, true, {80, 30}, {80, 30}}}) {
    TImageButtonBitmaps bitmaps;
    // Only Up decides, not the others.
    bitmaps.SetImage(ButtonImage::Hot, Plain(40, 40, kBehind));
    if (c.withUp) bitmaps.SetImage(ButtonImage::Up, Plain(32, 24, kBehind));
    EXPECT_EQ(SizeToBitmap(c.mode, bitmaps, c.requested), c.expected)
        << c.mode << " " << c.withUp << " " << c.requested.width;
  }
  ImageButton button;
  EXPECT_EQ(button.Size(), (Extent{80, 30}));
  button.Bitmaps().SetImage(ButtonImage::Up, Plain(32, 32, kBehind));
  EXPECT_EQ(button.Resize({50, 10}), (Extent{32, 32}));
  EXPECT_EQ(button.Size(), (Extent{32, 32}));
}

TEST(StateImage, EmptyImagesFallBackToTheOneAtRest) {
  const std::map<char, ButtonImage> names = {
      {'U', ButtonImage::Up},   {'F', ButtonImage::UpAndFocused}, {'X', ButtonImage::Disabled},
      {'D', ButtonImage::Down}, {'S', ButtonImage::StayDown},     {'H', ButtonImage::Hot}};
  struct Case {
    std::string present;  // the images that have a picture
    ButtonLook look;
    bool hot, focusShown;
    char expected;  // '-' for no picture at all
  };
  using enum ButtonLook;
  const Case cases[] = {
      {"UFXDSH", Up, false, false, 'U'},
      {"UFXDSH", Up, true, true, 'H'},
      {"UFXDS", Up, true, true, 'F'},
      {"UFXDS", Up, true, false, 'U'},
      {"U", Up, true, true, 'U'},
      {"UFXDSH", Down, true, true, 'D'},
      {"UH", Down, true, false, 'U'},
      {"UFXDSH", Disabled, true, true, 'X'},
      {"UDSH", Disabled, false, false, 'U'},
      {"UFXDSH", StayDown, false, false, 'S'},
      {"UD", StayDown, false, false, 'D'},
      {"U", StayDown, false, false, 'U'},
      {"FXDSH", Up, true, true, '-'},
      {"FDSH", Down, false, false, '-'},
      {"X", Disabled, false, false, 'X'},
  };
  for (const Case& c : cases) {
    TImageButtonBitmaps bitmaps;
    for (char name : c.present) bitmaps.SetImage(names.at(name), Plain(1, 1, kBehind));
    const Picture* chosen = StateImage(bitmaps, c.look, c.hot, c.focusShown);
    char shown = '-';
    for (const auto& [name, which] : names)
      if (chosen == &bitmaps.Image(which)) shown = name;
    EXPECT_EQ(shown, c.expected) << c.present << " look " << static_cast<int>(c.look) << " hot "
                                 << c.hot << " focus " << c.focusShown;
  }
}

// Feeds inputs as the button's window does: a reaction that takes the focus brings the focus
// notification before the next input, and clicks are counted.
class Operator {
 public:
  explicit Operator(bool withHot = true) {
    button_.Bitmaps().SetImage(ButtonImage::Up, Plain(32, 32, {0, 0, 1}));
    if (withHot) button_.Bitmaps().SetImage(ButtonImage::Hot, Plain(32, 32, {0, 0, 2}));
    button_.Bitmaps().SetImage(ButtonImage::Down, Plain(32, 32, {0, 0, 3}));
    button_.Resize({32, 32});
  }

  Reaction Do(ButtonInput input) {
    const Reaction reaction = button_.Handle(input);
    if (reaction.takeFocus) button_.Handle({ButtonInput::FocusGained});
    clicks_ += reaction.click;
    return reaction;
  }

  // U, H or D for the picture on the face.
  char Face() const { return "?UHD"[button_.Face()->Pixel({0, 0}).b]; }
  int Clicks() const { return clicks_; }
  const ImageButton& Button() const { return button_; }

 private:
  ImageButton button_;
  int clicks_ = 0;
};

TEST(ImageButton, EventsMoveTheFaceAndClickAsTheTableSays) {
  using I = ButtonInput;
  struct Step {
    ButtonInput input;
    char face;
    int clicks;  // so far
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;
  };
  const Case cases[] = {
      {"pointer over, press, release inside",
       {{{I::PointerEnter}, 'H', 0},
        {{I::MouseDown}, 'H', 0},
        {{I::LeftDown, {5, 5}}, 'D', 0},
        {{I::LeftUp, {5, 5}}, 'H', 1},
        {{I::PointerLeave}, 'U', 1}}},
      {"press, move out and back, release inside",
       {{{I::PointerEnter}, 'H', 0},
        {{I::MouseDown}, 'H', 0},
        {{I::LeftDown, {5, 5}}, 'D', 0},
        {{I::PointerLeave}, 'D', 0},
        {{I::PointerMove, {40, 5}}, 'U', 0},
        {{I::PointerEnter}, 'H', 0},
        {{I::PointerMove, {31, 31}}, 'D', 0},
        {{I::LeftUp, {31, 31}}, 'H', 1}}},
      {"release on the row just below",
       {{{I::PointerEnter}, 'H', 0},
        {{I::MouseDown}, 'H', 0},
        {{I::LeftDown, {5, 31}}, 'D', 0},
        {{I::PointerMove, {5, 32}}, 'H', 0},
        {{I::PointerLeave}, 'U', 0},
        {{I::LeftUp, {5, 32}}, 'U', 0}}},
      {"release left of the button",
       {{{I::MouseDown}, 'U', 0}, {{I::LeftDown, {0, 0}}, 'D', 0}, {{I::LeftUp, {-1, 0}}, 'U', 0}}},
      {"double click clicks twice",
       {{{I::PointerEnter}, 'H', 0},
        {{I::MouseDown}, 'H', 0},
        {{I::LeftDown, {5, 5}}, 'D', 0},
        {{I::LeftUp, {5, 5}}, 'H', 1},
        {{I::MouseDown}, 'H', 1},
        {{I::LeftDown, {5, 5}}, 'D', 1},
        {{I::LeftUp, {5, 5}}, 'H', 2}}},
      {"another mouse button takes the focus but does not press",
       {{{I::MouseDown}, 'U', 0}, {{I::LeftUp, {5, 5}}, 'U', 0}, {{I::EnterDown}, 'U', 1}}},
      {"space held shows down, its release clicks once",
       {{{I::FocusGained}, 'U', 0},
        {{I::SpaceDown}, 'D', 0},
        {{I::SpaceDown}, 'D', 0},
        {{I::KeyUp}, 'U', 1},
        {{I::KeyUp}, 'U', 1}}},
      {"enter clicks on every key-down, repeats included",
       {{{I::FocusGained}, 'U', 0},
        {{I::EnterDown}, 'U', 1},
        {{I::EnterDown}, 'U', 2},
        {{I::EnterDown}, 'U', 3},
        {{I::KeyUp}, 'U', 3}}},
      {"keys do nothing without the focus",
       {{{I::EnterDown}, 'U', 0},
        {{I::SpaceDown}, 'U', 0},
        {{I::KeyUp}, 'U', 0},
        {{I::FocusGained}, 'U', 0},
        {{I::FocusLost}, 'U', 0},
        {{I::EnterDown}, 'U', 0}}},
      {"any key released while pressed with the mouse clicks",
       {{{I::MouseDown}, 'U', 0},
        {{I::LeftDown, {5, 5}}, 'D', 0},
        {{I::KeyUp}, 'U', 1},
        {{I::LeftUp, {5, 5}}, 'U', 1}}},
      {"losing the mouse in mid-press abandons it",
       {{{I::MouseDown}, 'U', 0},
        {{I::LeftDown, {5, 5}}, 'D', 0},
        {{I::CaptureLost}, 'U', 0},
        {{I::LeftUp, {5, 5}}, 'U', 0}}},
      {"a disabled button neither takes the focus nor presses",
       {{{I::Disabled}, 'U', 0},
        {{I::MouseDown}, 'U', 0},
        {{I::LeftDown, {5, 5}}, 'U', 0},
        {{I::LeftUp, {5, 5}}, 'U', 0},
        {{I::Enabled}, 'U', 0},
        {{I::MouseDown}, 'U', 0},
        {{I::LeftDown, {5, 5}}, 'D', 0},
        {{I::LeftUp, {5, 5}}, 'U', 1}}},
  };
  for (const Case& c : cases) {
    Operator op;
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
      const Step& step = c.steps[i];
      op.Do(step.input);
      EXPECT_EQ(op.Face(), step.face) << c.name << ", step " << i;
      EXPECT_EQ(op.Clicks(), step.clicks) << c.name << ", step " << i;
    }
    EXPECT_FALSE(op.Button().Armed()) << c.name;
  }
}

TEST(ImageButton, RepaintsOnlyWhatChangesTheFace) {
  using I = ButtonInput;
  for (const bool withHot : {true, false}) {
    Operator op(withHot);
    const Repaint hotRepaint = withHot ? Repaint::Later : Repaint::None;
    EXPECT_EQ(op.Do({I::PointerEnter}).repaint, hotRepaint);
    EXPECT_EQ(op.Face(), withHot ? 'H' : 'U');
    EXPECT_EQ(op.Do({I::PointerLeave}).repaint, hotRepaint);
    // Pressing and its moves show at once; moves that keep the look repaint nothing.
    op.Do({I::MouseDown});
    EXPECT_EQ(op.Do({I::LeftDown, {1, 1}}).repaint, Repaint::Now);
    EXPECT_EQ(op.Do({I::PointerMove, {2, 2}}).repaint, Repaint::None);
    EXPECT_EQ(op.Do({I::PointerMove, {2, 40}}).repaint, Repaint::Now);
    EXPECT_EQ(op.Do({I::LeftUp, {2, 40}}).repaint, Repaint::Now);
    EXPECT_EQ(op.Do({I::FocusLost}).repaint, Repaint::Later);
  }
}

TEST(ImageButton, PaintDrawsTheFaceKeyedOverWhatIsBehind) {
  ImageButton button;
  PixelSurface empty(4, 3, {1, 2, 3});
  button.Paint(empty, FixedColorScheme());
  EXPECT_EQ(Read(empty), (std::vector<std::string>{"....", "....", "...."}));

  button.Bitmaps().SetImage(ButtonImage::Up, Drawn({"WbbW", "nWbg", "WbbW"}));
  button.Bitmaps().SetImage(ButtonImage::Down, Drawn({"WrrW", "rrrr", "WrrW"}));
  button.Bitmaps().SetTransparentColor(clWhite);
  button.Resize({});
  PixelSurface s(4, 3, kBehind);
  button.Paint(s, FixedColorScheme());
  EXPECT_EQ(Read(s), (std::vector<std::string>{"fbbf", "nfbg", "fbbf"}));
  button.Handle({ButtonInput::FocusGained});
  button.Handle({ButtonInput::SpaceDown});
  button.Paint(s, FixedColorScheme());
  EXPECT_EQ(Read(s), (std::vector<std::string>{"frrf", "rrrr", "frrf"}));
}

}  // namespace
