#include "widgets/hot_button.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <stdexcept>
#include <utility>

#include "widgets/pixel_surface.h"

namespace {

// The write button's size; the scheme is the classic one (face 212, 208, 200; selection
// 10, 36, 106; shadow 128), for which the figures below were worked out by hand.
constexpr int kW = 297, kH = 33;
constexpr Rect kClient{0, 0, kW, kH};
constexpr Rgb kBehind{1, 2, 3};

class RecordingCaption : public CaptionPainter {
 public:
  explicit RecordingCaption(int height, std::function<void(const Rect&, Rgb)> draw = nullptr)
      : height_(height), draw_(std::move(draw)) {}
  int MeasureHeight(const Rect& rect) override {
    measuredIn = rect;
    return height_;
  }
  void Draw(const Rect& rect, Rgb color) override {
    drawnIn = rect;
    this->color = color;
    if (draw_) draw_(rect, color);
  }
  Rect measuredIn, drawnIn;
  Rgb color;

 private:
  int height_;
  std::function<void(const Rect&, Rgb)> draw_;
};

enum class Look { Rest, Pressed, Hot, Focused, Disabled };

HotButtonState StateFor(Look look) {
  HotButtonState s;
  s.enabled = look != Look::Disabled;
  s.pressedLook = look == Look::Pressed;
  s.pointerOver = look == Look::Hot;
  s.focused = s.active = look == Look::Focused;
  return s;
}

PixelSurface Painted(Look look, const FixedColorScheme& scheme = {}, bool fullColor = true,
                     const HotButtonLook& settings = {}) {
  PixelSurface s(kW, kH, kBehind);
  RecordingCaption caption(13);
  PaintHotButton(s, kClient, StateFor(look), settings, {scheme, fullColor}, caption);
  return s;
}

struct Figure {
  const char* what;
  Look look;
  std::vector<Point> at;
  Rgb color;
};

TEST(HotButtonPaint, WorkedExampleFiguresOfTheWriteButton) {
  const Rgb outerShade{193, 188, 176}, outerTint{231, 229, 224}, frame{64, 64, 64};
  const Figure figures[] = {
      {"outer ring shade",
       Look::Rest,
       {{0, 2}, {0, 30}, {2, 0}, {294, 0}, {1, 1}, {295, 1}, {1, 31}},
       outerShade},
      {"outer ring tint",
       Look::Rest,
       {{296, 2}, {296, 30}, {2, 32}, {294, 32}, {295, 31}},
       outerTint},
      {"frame ring",
       Look::Rest,
       {{1, 2}, {1, 30}, {2, 1}, {294, 1}, {295, 2}, {2, 31}, {294, 31}},
       frame},
      {"face row 2", Look::Rest, {{2, 2}, {148, 2}, {294, 2}}, {238, 237, 234}},
      {"face row 28", Look::Rest, {{2, 28}, {148, 28}, {294, 28}}, {203, 198, 188}},
      {"bottom line row 29", Look::Rest, {{2, 29}, {148, 29}, {294, 29}}, {193, 188, 176}},
      {"bottom line row 30", Look::Rest, {{2, 30}, {148, 30}, {294, 30}}, {184, 178, 164}},
      {"pressed face",
       Look::Pressed,
       {{2, 2}, {148, 16}, {294, 28}, {2, 29}, {294, 30}},
       {203, 198, 188}},
      {"hot ring row 2", Look::Hot, {{2, 2}, {148, 2}, {294, 2}}, {250, 227, 188}},
      {"hot ring row 3", Look::Hot, {{2, 3}, {148, 3}, {294, 3}}, {250, 224, 182}},
      {"hot ring row 30", Look::Hot, {{2, 30}, {148, 30}, {294, 30}}, {240, 155, 20}},
      {"hot ring leaves the face inside", Look::Hot, {{4, 28}, {292, 28}}, {203, 198, 188}},
      {"focus ring row 2", Look::Focused, {{2, 2}, {148, 2}, {294, 2}}, {182, 188, 203}},
      {"focus ring row 30", Look::Focused, {{2, 30}, {148, 30}, {294, 30}}, {96, 112, 154}},
      {"dotted focus border",
       Look::Focused,
       {{3, 4}, {3, 28}, {293, 4}, {4, 3}, {292, 3}, {4, 29}, {292, 29}},
       {0, 0, 0}},
      {"disabled frame ring",
       Look::Disabled,
       {{1, 2}, {2, 1}, {295, 30}, {294, 31}},
       {159, 159, 159}},
      {"disabled face", Look::Disabled, {{2, 2}, {148, 16}, {294, 30}}, {212, 208, 200}},
  };
  for (const Figure& f : figures) {
    const PixelSurface s = Painted(f.look);
    for (const Point p : f.at)
      EXPECT_EQ(s.Pixel(p), f.color) << f.what << " at " << p.x << "," << p.y;
  }
}

// Pixels outside all three of the rectangles that round the corners off.
std::set<std::pair<int, int>> SeeThrough(bool enabled) {
  const Rect a = kClient.Shrunk(enabled ? 1 : 2);
  const Rect wide{a.left - 1, a.top + 1, a.right + 1, a.bottom - 1};
  const Rect tall{wide.left + 2, wide.top - 2, wide.right - 2, wide.bottom + 2};
  std::set<std::pair<int, int>> pixels;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      if (!a.Contains({x, y}) && !wide.Contains({x, y}) && !tall.Contains({x, y}))
        pixels.insert({x, y});
  return pixels;
}

std::set<std::pair<int, int>> Untouched(const PixelSurface& s) {
  std::set<std::pair<int, int>> pixels;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      if (s.Pixel({x, y}) == kBehind) pixels.insert({x, y});
  return pixels;
}

TEST(HotButtonPaint, OnlyTheCornersShowWhatIsBehind) {
  // Enabled: three pixels at each corner.
  for (const Look look : {Look::Rest, Look::Hot, Look::Focused, Look::Pressed}) {
    EXPECT_EQ(Untouched(Painted(look)), SeeThrough(true)) << static_cast<int>(look);
  }
  EXPECT_EQ(SeeThrough(true).size(), 12u);
  EXPECT_TRUE(SeeThrough(true).count({1, 0}) && SeeThrough(true).count({kW - 1, kH - 2}));

  // Disabled: the outermost ring and the diagonal pixels; the frame ring covers the others.
  const PixelSurface disabled = Painted(Look::Disabled);
  std::set<std::pair<int, int>> ring{{1, 1}, {kW - 2, 1}, {1, kH - 2}, {kW - 2, kH - 2}};
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      if (x == 0 || y == 0 || x == kW - 1 || y == kH - 1) ring.insert({x, y});
  EXPECT_EQ(Untouched(disabled), ring);
  for (const auto& [x, y] : SeeThrough(false)) {
    if (ring.count({x, y})) continue;
    EXPECT_EQ(disabled.Pixel({x, y}), (Rgb{159, 159, 159})) << x << "," << y;
  }
  EXPECT_TRUE(SeeThrough(false).count({2, 1}) && SeeThrough(false).count({kW - 2, kH - 3}));
}

TEST(HotButtonPaint, PaletteDisplayGetsAFlatFaceAndNoRings) {
  const FixedColorScheme scheme;
  const Rgb face{212, 208, 200};
  for (const Look look : {Look::Rest, Look::Hot, Look::Focused}) {
    const PixelSurface s = Painted(look, scheme, false);
    for (const Point p : {Point{2, 2}, Point{149, 3}, Point{294, 28}, Point{2, 16}})
      EXPECT_EQ(s.Pixel(p), face) << static_cast<int>(look) << " " << p.x << "," << p.y;
    EXPECT_EQ(s.Pixel({149, 29}), (Rgb{193, 188, 176}));
    EXPECT_EQ(s.Pixel({149, 30}), (Rgb{184, 178, 164}));
  }
  EXPECT_EQ(Painted(Look::Focused, scheme, false).Pixel({3, 4}), (Rgb{0, 0, 0}));
}

TEST(HotButtonPaint, RingColoursFromOtherSettings) {
  // A selection colour close to the face, (180, 170, 150), is darkened by 30 to
  // (153, 140, 112) before it is mixed into the focus ring.
  FixedColorScheme closeHighlight;
  closeHighlight.Set(clHighlight, {180, 170, 150});
  const PixelSurface focused = Painted(Look::Focused, closeHighlight);
  EXPECT_EQ(focused.Pixel({148, 2}), (Rgb{218, 214, 205}));
  EXPECT_EQ(focused.Pixel({148, 30}), (Rgb{185, 177, 158}));
  // The complementary hot ring: hue 25 turned to 145 at lightness 180, then shaded by 30.
  HotButtonLook complement;
  complement.hotTrackColorType = HotTrackColorType::htctComplement;
  const PixelSurface hot = Painted(Look::Hot, {}, true, complement);
  EXPECT_EQ(hot.Pixel({148, 2}), (Rgb{125, 171, 255}));
  EXPECT_EQ(hot.Pixel({148, 30}), (Rgb{64, 128, 255}));
}

// Focused with the pointer over it in high-contrast black: the ring's foot is the selection
// colour, the dots are the scheme's text.
TEST(HotButtonPaint, HighContrastRingAndDotsInTheSchemesColours) {
  const Rgb white{255, 255, 255}, cyan{26, 235, 255};
  FixedColorScheme black;
  black.Set(clBtnFace, {0, 0, 0}).Set(clBtnText, white).Set(clHighlight, cyan);
  HotButtonState state = StateFor(Look::Hot);
  state.focused = true;
  PixelSurface s(kW, kH);
  RecordingCaption caption(13);
  PaintHotButton(s, kClient, state, {}, {black, true, {}, true}, caption);
  EXPECT_EQ(s.Pixel({150, 30}), cyan);
  for (const Point dot : {Point{3, 4}, Point{4, 3}, Point{293, 4}, Point{4, 29}})
    EXPECT_EQ(s.Pixel(dot), white);
}

// The caption in the button-text colour, which this scheme sets apart from the window text.
TEST(HotButtonPaint, CaptionCentredByMeasuredHeightGreyWhenDisabledAndUnderTheDots) {
  FixedColorScheme scheme;
  scheme.Set(clBtnText, {0, 0, 128}).Set(clWindowText, {255, 0, 255});
  const struct {
    Look look;
    int height;
    Rect drawn;
    Rgb color;
  } cases[] = {
      {Look::Rest, 13, {5, 10, 292, 23}, {0, 0, 128}},
      {Look::Pressed, 13, {5, 10, 292, 23}, {0, 0, 128}},  // not moved when held down
      {Look::Disabled, 13, {5, 10, 292, 23}, {128, 128, 128}},
      {Look::Focused, 26, {5, 3, 292, 29}, {0, 0, 128}},  // two lines
      {Look::Rest, 39, {5, -3, 292, 36}, {0, 0, 128}},    // (33 - 39) / 2 truncates to -3
  };
  for (const auto& c : cases) {
    PixelSurface s(kW, kH, kBehind);
    RecordingCaption caption(c.height, [&s](const Rect& r, Rgb) { s.FillRect(r, {255, 0, 0}); });
    PaintHotButton(s, kClient, StateFor(c.look), {}, {scheme, true}, caption);
    EXPECT_EQ(caption.measuredIn, (Rect{5, 5, 292, 28}));
    EXPECT_EQ(caption.drawnIn, c.drawn) << c.height;
    EXPECT_EQ(caption.color, c.color);
    if (c.look == Look::Focused) {
      EXPECT_EQ(s.Pixel({6, 3}), (Rgb{0, 0, 0}));  // the dots go over the text
      EXPECT_EQ(s.Pixel({5, 3}), (Rgb{255, 0, 0}));
    }
  }
}

// At 150 % (144 DPI) the write button is 446 x 50 and every line 2 pixels: the corners step by
// 2 x 2 blocks, the face starts at 4, the rings are 4 wide, the dots 2 x 2 every 4 pixels.
TEST(HotButtonPaint, DrawnAtOneAndAHalfTimesTheScale) {
  constexpr int kW15 = 446, kH15 = 50;
  const Rgb shade{193, 188, 176}, tint{231, 229, 224}, frame{64, 64, 64}, black{0, 0, 0};
  const Figure figures[] = {
      {"bare corner blocks",
       Look::Rest,
       {{0, 0}, {3, 1}, {1, 3}, {442, 0}, {445, 3}, {445, 49}, {442, 49}, {0, 46}},
       kBehind},
      {"outer ring shade",
       Look::Rest,
       {{0, 4}, {1, 45}, {4, 0}, {441, 1}, {3, 3}, {442, 2}, {2, 46}},
       shade},
      {"outer ring tint", Look::Rest, {{444, 4}, {445, 45}, {4, 48}, {441, 49}, {443, 47}}, tint},
      {"frame ring",
       Look::Rest,
       {{2, 4}, {3, 45}, {4, 2}, {441, 3}, {442, 4}, {443, 45}, {4, 47}},
       frame},
      {"face gradient, top row", Look::Rest, {{4, 4}, {441, 4}}, {239, 237, 234}},
      {"face gradient row 8", Look::Rest, {{8, 8}, {220, 8}}, {235, 233, 229}},
      {"face gradient row 41", Look::Rest, {{4, 41}, {441, 41}}, {203, 198, 188}},
      {"first bottom line", Look::Rest, {{4, 42}, {441, 43}}, {193, 188, 176}},
      {"second bottom line", Look::Rest, {{4, 44}, {441, 45}}, {184, 178, 164}},
      {"hot ring row 4", Look::Hot, {{4, 4}, {220, 4}}, {250, 228, 190}},
      {"hot ring row 7", Look::Hot, {{220, 7}, {441, 7}}, {249, 222, 178}},
      {"inside the hot ring, row 8", Look::Hot, {{220, 8}}, {235, 233, 229}},
      {"hot ring row 24, both columns", Look::Hot, {{4, 24}, {7, 24}, {438, 24}}, {245, 192, 107}},
      {"inside the hot ring, row 24", Look::Hot, {{8, 24}, {437, 24}}, {219, 216, 209}},
      {"hot ring row 44", Look::Hot, {{220, 44}}, {240, 156, 24}},
      {"hot ring row 45", Look::Hot, {{4, 45}, {441, 45}}, {240, 155, 20}},
      {"focus dots",
       Look::Focused,
       {{6, 8}, {7, 9}, {8, 6}, {9, 7}, {438, 8}, {439, 9}, {8, 42}, {9, 43}, {436, 43}},
       black},
      {"pressed face", Look::Pressed, {{4, 4}, {441, 45}, {220, 43}}, {203, 198, 188}},
      {"disabled: outermost ring and diagonal block bare",
       Look::Disabled,
       {{0, 20}, {1, 20}, {20, 1}, {2, 2}, {3, 3}, {443, 46}},
       kBehind},
      {"disabled frame ring",
       Look::Disabled,
       {{2, 20}, {3, 20}, {4, 2}, {443, 45}},
       {159, 159, 159}},
      {"disabled face", Look::Disabled, {{4, 4}, {441, 45}}, {212, 208, 200}},
  };
  const FixedColorScheme scheme;
  const Display display{scheme, true, DisplayScale(144)};
  const auto paint = [&](Look look, RecordingCaption& caption) {
    PixelSurface s(kW15, kH15, kBehind);
    PaintHotButton(s, {0, 0, kW15, kH15}, StateFor(look), {}, display, caption);
    return s;
  };
  for (const Figure& f : figures) {
    RecordingCaption caption(13);
    const PixelSurface s = paint(f.look, caption);
    for (const Point p : f.at)
      EXPECT_EQ(s.Pixel(p), f.color) << f.what << " at " << p.x << "," << p.y;
  }

  // Between the dots the ring shows; the caption keeps a margin of Px(5) = 8.
  RecordingCaption caption(13);
  const PixelSurface focused = paint(Look::Focused, caption);
  for (const Point gap : {Point{6, 6}, Point{6, 10}, Point{10, 6}, Point{438, 42}, Point{5, 8}})
    EXPECT_NE(focused.Pixel(gap), black) << gap.x << "," << gap.y;
  EXPECT_EQ(caption.measuredIn, (Rect{8, 8, 438, 42}));
  EXPECT_EQ(caption.drawnIn, (Rect{8, 18, 438, 31}));
}

// Stands in for the window: the focus follows TakeFocus and GiveUpFocus as the platform's would.
class FakeHost : public HotButton::Host {
 public:
  bool TakeFocus() override {
    if (focusAvailable && !focused) {
      focused = true;
      button->FocusChanged(true);
      button->FocusMoved(true, true);
    }
    ++focusRequests;
    return focused;
  }
  void GiveUpFocus() override {
    focused = false;
    button->FocusChanged(false);
    button->FocusMoved(false, false);
  }
  void EnableWindow(bool enabled) override { windowEnabled = enabled; }
  void CapturePointer() override { captured = true; }
  void ReleasePointer() override { captured = false; }
  void TrackLeave() override { ++leaveRequests; }
  void Repaint() override { ++repaints; }
  void SetOwnerModalResult(int result) override { modalResults.push_back(result); }
  void RaiseClick() override {
    clickingDuringClick = button->State().clicking;
    ++clicks;
    if (failClick) throw std::runtime_error("handler failed");
  }

  HotButton* button = nullptr;
  bool focusAvailable = true;
  bool focused = false;
  bool windowEnabled = true;
  bool captured = false;
  bool failClick = false;
  bool clickingDuringClick = false;
  int focusRequests = 0;
  int leaveRequests = 0;
  int repaints = 0;
  int clicks = 0;
  std::vector<int> modalResults;
};

struct Bench {
  Bench() { host.button = &button; }
  FakeHost host;
  HotButton button{host, kW, kH};
};

constexpr Point kInside{150, 16}, kOutside{150, 60}, kRowBelow{150, kH}, kLastRow{150, kH - 1};

// Every script ends with nothing held down and the pointer free.
void ExpectReleased(const Bench& bench, const char* what) {
  EXPECT_FALSE(bench.button.State().pressedLook) << what;
  EXPECT_FALSE(bench.button.State().mouseTracking) << what;
  EXPECT_FALSE(bench.host.captured) << what;
}

TEST(HotButtonInput, MouseClicksOnlyOnReleaseInside) {
  const struct {
    const char* what;
    std::vector<std::pair<Point, bool>> movesAndPressedLook;
    Point release;
    int clicks;
  } drags[] = {
      {"press, out, back in, release inside", {{kOutside, false}, {kInside, true}}, kInside, 1},
      {"release outside", {{kOutside, false}}, kOutside, 0},
      {"release on the row just below", {{kLastRow, true}, {kRowBelow, false}}, kRowBelow, 0},
  };
  for (const auto& drag : drags) {
    Bench bench;
    bench.button.PointerMove(kInside);
    bench.button.LeftDown();
    EXPECT_TRUE(bench.button.State().pressedLook) << drag.what;
    EXPECT_TRUE(bench.host.captured) << drag.what;
    for (const auto& [at, pressed] : drag.movesAndPressedLook) {
      bench.button.PointerMove(at);
      EXPECT_EQ(bench.button.State().pressedLook, pressed) << drag.what;
    }
    bench.button.LeftUp(drag.release);
    EXPECT_EQ(bench.host.clicks, drag.clicks) << drag.what;
    ExpectReleased(bench, drag.what);
  }
}

TEST(HotButtonInput, ClicksFromKeyboardAndOtherEvents) {
  const struct {
    const char* what;
    std::function<void(HotButton&, FakeHost&)> events;
    int clicks;
  } scripts[] = {
      {"space held with repeats, released",
       [](HotButton& b, FakeHost&) {
         b.LeftDown();
         b.LeftUp(kOutside);
         for (int i = 0; i < 5; ++i) b.KeyDown(ButtonKey::Space, false);
         EXPECT_TRUE(b.State().pressedLook);
         b.KeyUp(ButtonKey::Space);
         EXPECT_FALSE(b.State().pressedLook);
       },
       1},
      {"alt+space",
       [](HotButton& b, FakeHost&) {
         b.LeftDown();
         b.LeftUp(kOutside);
         b.KeyDown(ButtonKey::Space, true);
         EXPECT_FALSE(b.State().pressedLook);
         b.KeyUp(ButtonKey::Space);
       },
       0},
      {"F4 swallows the next click only",
       [](HotButton& b, FakeHost& h) {
         b.LeftDown();
         b.KeyDown(ButtonKey::F4, false);
         b.LeftUp(kInside);
         EXPECT_EQ(h.clicks, 0);
         b.LeftDown();
         b.LeftUp(kInside);
       },
       1},
      {"enter on the active button, not with shift",
       [](HotButton& b, FakeHost& h) {
         EXPECT_FALSE(b.DialogKey(ButtonKey::Enter, false, false, false));  // not active yet
         h.TakeFocus();
         EXPECT_FALSE(b.DialogKey(ButtonKey::Enter, true, false, false));
         EXPECT_FALSE(b.DialogKey(ButtonKey::Space, false, false, false));
         EXPECT_TRUE(b.DialogKey(ButtonKey::Enter, false, false, false));
       },
       1},
      {"press without the focus is no press",
       [](HotButton& b, FakeHost& h) {
         h.focusAvailable = false;
         b.LeftDown();
         EXPECT_FALSE(b.State().pressedLook);
         EXPECT_FALSE(h.captured);
         b.LeftUp(kInside);
       },
       0},
      {"capture lost mid-press",
       [](HotButton& b, FakeHost& h) {
         b.LeftDown();
         h.captured = false;  // taken by another window
         b.CaptureLost();
         EXPECT_FALSE(b.State().pressedLook);
         b.LeftUp(kInside);
       },
       0},
      {"focus lost while space is held",
       [](HotButton& b, FakeHost& h) {
         h.TakeFocus();
         b.KeyDown(ButtonKey::Space, false);
         h.GiveUpFocus();
         EXPECT_FALSE(b.State().pressedLook);
         b.KeyUp(ButtonKey::Space);
       },
       0},
  };
  for (const auto& script : scripts) {
    Bench bench;
    script.events(bench.button, bench.host);
    EXPECT_EQ(bench.host.clicks, script.clicks) << script.what;
    ExpectReleased(bench, script.what);
  }
}

TEST(HotButtonInput, PointerOverWithOneLeaveRequest) {
  Bench bench;
  bench.button.PointerMove(kInside);
  const int repaints = bench.host.repaints;
  bench.button.PointerMove({10, 10});
  EXPECT_TRUE(bench.button.State().pointerOver);
  EXPECT_EQ(bench.host.leaveRequests, 1);
  EXPECT_EQ(bench.host.repaints, repaints);  // nothing changed, nothing repainted
  bench.button.PointerLeft();
  EXPECT_FALSE(bench.button.State().pointerOver);
  bench.button.PointerMove(kInside);
  EXPECT_EQ(bench.host.leaveRequests, 2);
}

TEST(HotButtonInput, DisablingWhileFocusedMovesTheFocusForGood) {
  Bench bench;
  bench.host.TakeFocus();
  bench.button.SetEnabled(false);
  EXPECT_FALSE(bench.host.focused);
  EXPECT_FALSE(bench.host.windowEnabled);
  EXPECT_FALSE(bench.button.State().focused);
  EXPECT_FALSE(bench.button.State().active);
  const int requests = bench.host.focusRequests;
  bench.button.SetEnabled(true);
  EXPECT_TRUE(bench.host.windowEnabled);
  EXPECT_FALSE(bench.host.focused);
  EXPECT_EQ(bench.host.focusRequests, requests);
  // A disabled button takes no press.
  bench.button.SetEnabled(false);
  bench.button.LeftDown();
  EXPECT_FALSE(bench.button.State().pressedLook);
}

TEST(HotButtonInput, ClickCopiesModalResultThenRaisesOnClickAndSurvivesItsFailure) {
  Bench bench;
  bench.button.SetModalResult(6);
  bench.button.Click();
  EXPECT_EQ(bench.host.modalResults, std::vector<int>{6});
  EXPECT_EQ(bench.host.clicks, 1);

  bench.host.failClick = true;
  bench.button.LeftDown();
  EXPECT_THROW(bench.button.LeftUp(kInside), std::runtime_error);
  EXPECT_TRUE(bench.host.clickingDuringClick);
  EXPECT_FALSE(bench.button.State().clicking);
  EXPECT_FALSE(bench.button.State().pressedLook);
  EXPECT_FALSE(bench.button.State().mouseTracking);
  EXPECT_FALSE(bench.host.captured);
}

}  // namespace
