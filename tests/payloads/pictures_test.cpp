#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "support/temp_folder.h"

namespace {

struct PixelRgb {
  int r, g, b;
  bool operator==(const PixelRgb&) const = default;
};

constexpr PixelRgb kWhite{255, 255, 255};
constexpr PixelRgb kWindowFace{212, 208, 200};

int Luminance(PixelRgb c) { return (299 * c.r + 587 * c.g + 114 * c.b) / 1000; }

// An uncompressed 24-bit BMP as stored, pixels kept row by row from the top.
struct Picture {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  std::uint32_t compression = 0;
  std::vector<PixelRgb> pixels;

  PixelRgb At(int x, int y) const { return pixels.at(y * width + x); }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

Picture ReadPicture(const std::string& name) {
  const std::vector<std::uint8_t> bytes =
      ReadBytes(Utf8Path(std::string(KQ_PAYLOAD_DIR) + "/" + name));
  Picture picture;
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return picture;
  const std::size_t dataStart = LittleEndian(bytes, 10, 4);
  picture.width = static_cast<std::int32_t>(LittleEndian(bytes, 18, 4));
  const auto storedHeight = static_cast<std::int32_t>(LittleEndian(bytes, 22, 4));
  picture.height = std::abs(storedHeight);
  picture.bitsPerPixel = static_cast<int>(LittleEndian(bytes, 28, 2));
  picture.compression = LittleEndian(bytes, 30, 4);
  if (picture.bitsPerPixel != 24) return picture;
  const std::size_t stride = (picture.width * 3 + 3) & ~std::size_t{3};
  for (int y = 0; y < picture.height; ++y) {
    const int storedRow = storedHeight > 0 ? picture.height - 1 - y : y;
    for (int x = 0; x < picture.width; ++x) {
      const std::size_t at = dataStart + storedRow * stride + x * 3;
      picture.pixels.push_back({bytes.at(at + 2), bytes.at(at + 1), bytes.at(at)});
    }
  }
  return picture;
}

using Step = std::pair<int, int>;
const std::vector<Step> kSideSteps = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
const std::vector<Step> kAllSteps = {{1, 0}, {-1, 0}, {0, 1},  {0, -1},
                                     {1, 1}, {1, -1}, {-1, 1}, {-1, -1}};

// The pixels reachable from the seeds through pixels of `region`, moving by `steps`.
std::vector<bool> Reach(const Picture& picture, std::vector<Step> pending,
                        const std::vector<bool>& region, const std::vector<Step>& steps) {
  std::vector<bool> reached(picture.pixels.size(), false);
  while (!pending.empty()) {
    const auto [x, y] = pending.back();
    pending.pop_back();
    if (!picture.Inside(x, y) || reached[y * picture.width + x] || !region[y * picture.width + x]) {
      continue;
    }
    reached[y * picture.width + x] = true;
    for (const auto& [dx, dy] : steps) pending.push_back({x + dx, y + dy});
  }
  return reached;
}

std::vector<bool> WhitePixels(const Picture& picture) {
  std::vector<bool> white;
  for (const PixelRgb& pixel : picture.pixels) white.push_back(pixel == kWhite);
  return white;
}

// The white reachable from the corners: where the window shows around the badge.
std::vector<bool> Surroundings(const Picture& picture) {
  const int last = picture.width - 1;
  return Reach(picture, {{0, 0}, {last, 0}, {0, last}, {last, last}}, WhitePixels(picture),
               kSideSteps);
}

// The badge is designed at 32 pixels and every size scales that design, so places in the design
// say where to look at every size.
constexpr double kDesignSize = 32;
constexpr double kBadgeCentre = 16;  // across and down
constexpr double kBadgeRadius = 15.3;
constexpr double kDotCentreY = 8.4;  // the letter's dot, on the middle column
constexpr double kDotRadius = 2.6;

// One picture of the button as the table expects it.
struct ExpectedPicture {
  std::string file;
  int size;
  PixelRgb disc;  // just left of the letter's stem

  double Scaled(double designPixels) const { return designPixels * size / kDesignSize; }
  // The centre of the pixel (x, y) in design pixels.
  std::pair<double, double> InDesign(int x, int y) const {
    return {(x + 0.5) * kDesignSize / size, (y + 0.5) * kDesignSize / size};
  }
  double DistanceInDesign(int x, int y, double designX, double designY) const {
    const auto [u, v] = InDesign(x, y);
    return std::hypot(u - designX, v - designY);
  }
};

// The two places inside the badge where the window may show through.
bool OnTheDotsUpperHalf(const ExpectedPicture& expected, Step pixel) {
  const auto [x, y] = pixel;
  return expected.DistanceInDesign(x, y, kBadgeCentre, kDotCentreY) <= kDotRadius &&
         expected.InDesign(x, y).second < kDotCentreY;
}

bool AlongTheLeftRim(const ExpectedPicture& expected, Step pixel) {
  const auto [x, y] = pixel;
  const double fromCentre = expected.DistanceInDesign(x, y, kBadgeCentre, kBadgeCentre);
  return fromCentre >= kBadgeRadius - 4.3 && fromCentre <= kBadgeRadius &&
         expected.InDesign(x, y).first < 6;
}

std::vector<ExpectedPicture> AllPictures() {
  const int kSizes[] = {32, 40, 48, 56, 64, 80, 96};  // 100 % to 300 % of the 96-DPI size
  const std::pair<const char*, PixelRgb> kStates[] = {
      {"Up", {14, 139, 195}}, {"Hot", {14, 195, 116}}, {"Down", {71, 138, 109}}};
  std::vector<ExpectedPicture> pictures;
  for (const int size : kSizes) {
    for (const auto& [state, disc] : kStates) {
      pictures.push_back({std::string("Btn") + state + std::to_string(size) + ".bmp", size, disc});
    }
  }
  return pictures;
}

// Reads every picture and hands those of the expected size to the check.
template <typename Check>
void ForEachPicture(Check check) {
  for (const ExpectedPicture& expected : AllPictures()) {
    SCOPED_TRACE(expected.file);
    const Picture picture = ReadPicture(expected.file);
    if (picture.width != expected.size || picture.height != expected.size ||
        picture.pixels.size() != static_cast<std::size_t>(expected.size * expected.size)) {
      ADD_FAILURE() << "not a " << expected.size << " x " << expected.size
                    << " true-colour picture";
      continue;
    }
    check(expected, picture);
  }
}

TEST(InfoButtonPictures, AreTrueColourSquaresOfTheirSizeWithWhiteCorners) {
  for (const ExpectedPicture& expected : AllPictures()) {
    SCOPED_TRACE(expected.file);
    const Picture picture = ReadPicture(expected.file);
    ASSERT_EQ(picture.bitsPerPixel, 24);
    EXPECT_EQ(picture.compression, 0u);
    ASSERT_EQ(picture.width, expected.size);
    ASSERT_EQ(picture.height, expected.size);
    const int last = expected.size - 1;
    for (const auto& [x, y] : {Step{0, 0}, {last, 0}, {0, last}, {last, last}}) {
      EXPECT_EQ(picture.At(x, y), kWhite) << x << "," << y;
    }
    if (expected.size == 32) {
      EXPECT_EQ(std::count(picture.pixels.begin(), picture.pixels.end(), kWhite), 251);
    }
  }
}

// Pure white is see-through: around the badge, and inside it only as one glint on the upper half
// of the letter's dot and one line in the band along the left rim.
TEST(InfoButtonPictures, WhiteOnlyAroundTheBadgeAndInTheGlintAndTheRimLine) {
  enum Area { kGlint, kRimLine, kElsewhere };
  ForEachPicture([](const ExpectedPicture& expected, const Picture& picture) {
    const std::vector<bool> outside = Surroundings(picture);
    std::vector<bool> enclosed = WhitePixels(picture);
    for (std::size_t i = 0; i < enclosed.size(); ++i) enclosed[i] = enclosed[i] && !outside[i];
    std::vector<Area> highlights;
    for (int y = 0; y < picture.height; ++y) {
      for (int x = 0; x < picture.width; ++x) {
        if (outside[y * picture.width + x]) {
          EXPECT_GE(expected.DistanceInDesign(x, y, kBadgeCentre, kBadgeCentre), kBadgeRadius - 0.3)
              << "a hole into the disc at " << x << "," << y;
        }
        if (!enclosed[y * picture.width + x]) continue;
        std::vector<Step> blob;
        const std::vector<bool> reached = Reach(picture, {{x, y}}, enclosed, kAllSteps);
        for (int i = 0; i < static_cast<int>(reached.size()); ++i) {
          if (reached[i]) blob.push_back({i % picture.width, i / picture.width});
        }
        const auto allIn = [&](bool (*area)(const ExpectedPicture&, Step)) {
          return std::all_of(blob.begin(), blob.end(), [&](Step p) { return area(expected, p); });
        };
        highlights.push_back(allIn(OnTheDotsUpperHalf) ? kGlint
                             : allIn(AlongTheLeftRim)  ? kRimLine
                                                       : kElsewhere);
        for (const auto& [bx, by] : blob) enclosed[by * picture.width + bx] = false;
      }
    }
    std::sort(highlights.begin(), highlights.end());
    EXPECT_EQ(highlights, (std::vector<Area>{kGlint, kRimLine}));
  });
}

TEST(InfoButtonPictures, DiscShowsTheStateColourLeftOfTheLetter) {
  constexpr int kTolerance = 6;
  ForEachPicture([](const ExpectedPicture& expected, const Picture& picture) {
    const PixelRgb sample = picture.At(static_cast<int>(expected.Scaled(11.5)),
                                       static_cast<int>(expected.Scaled(18.5)));
    EXPECT_NEAR(sample.r, expected.disc.r, kTolerance);
    EXPECT_NEAR(sample.g, expected.disc.g, kTolerance);
    EXPECT_NEAR(sample.b, expected.disc.b, kTolerance);
  });
}

// Once white turns see-through, a light edge pixel would show as a halo on the window.
TEST(InfoButtonPictures, EdgeAgainstTheWindowIsNoLighterThanTheWindow) {
  ForEachPicture([](const ExpectedPicture& expected, const Picture& picture) {
    const std::vector<bool> outside = Surroundings(picture);
    int edgePixels = 0;
    for (int y = 0; y < picture.height; ++y) {
      for (int x = 0; x < picture.width; ++x) {
        if (outside[y * picture.width + x]) continue;
        bool touchesOutside = false;
        for (const auto& [dx, dy] : kSideSteps) {
          touchesOutside |=
              picture.Inside(x + dx, y + dy) && outside[(y + dy) * picture.width + x + dx];
        }
        if (!touchesOutside) continue;
        ++edgePixels;
        EXPECT_NE(picture.At(x, y), kWhite) << x << "," << y;
        EXPECT_LE(Luminance(picture.At(x, y)), Luminance(kWindowFace)) << x << "," << y;
      }
    }
    // The whole circumference, not a few stray pixels.
    EXPECT_GT(edgePixels, expected.Scaled(60));
  });
}

// Down the middle of the badge: disc, the dot, disc, the longer stem, disc.
TEST(InfoButtonPictures, LetterIReadsAsADotAboveAStem) {
  ForEachPicture([](const ExpectedPicture& expected, const Picture& picture) {
    for (const int x : {expected.size / 2 - 1, expected.size / 2}) {
      std::vector<bool> light;
      for (int y = 0; y < picture.height; ++y) {
        const PixelRgb c = picture.At(x, y);
        const int lowest = std::min({c.r, c.g, c.b});
        light.push_back(lowest >= 200 && std::max({c.r, c.g, c.b}) - lowest <= 12);
      }
      std::vector<int> runs;
      int firstDisc = 0;
      while (firstDisc < picture.height && light[firstDisc]) ++firstDisc;
      int lastDisc = picture.height - 1;
      while (lastDisc > firstDisc && light[lastDisc]) --lastDisc;
      for (int y = firstDisc; y <= lastDisc; ++y) {
        if (!light[y]) continue;
        if (!light[y - 1]) runs.push_back(0);
        ++runs.back();
      }
      ASSERT_EQ(runs.size(), 2u) << "column " << x;
      EXPECT_GE(runs[0], expected.Scaled(4)) << "column " << x;
      EXPECT_GT(runs[1], 2 * runs[0]) << "column " << x;
    }
  });
}

}  // namespace
