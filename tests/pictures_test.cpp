#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "support/temp_folder.h"

namespace {

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kWindowFace{212, 208, 200};

int Luminance(Rgb c) { return (299 * c.r + 587 * c.g + 114 * c.b) / 1000; }

// An uncompressed 24-bit BMP as stored, pixels kept row by row from the top.
struct Picture {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  std::uint32_t compression = 0;
  std::vector<Rgb> pixels;

  Rgb At(int x, int y) const { return pixels.at(y * width + x); }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

Picture ReadPicture(const char* name) {
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

// The white reachable from the corners: where the window shows around the badge.
std::vector<bool> Surroundings(const Picture& picture) {
  std::vector<bool> outside(picture.pixels.size(), false);
  std::vector<std::pair<int, int>> pending = {{0, 0},
                                              {picture.width - 1, 0},
                                              {0, picture.height - 1},
                                              {picture.width - 1, picture.height - 1}};
  while (!pending.empty()) {
    const auto [x, y] = pending.back();
    pending.pop_back();
    if (!picture.Inside(x, y) || outside[y * picture.width + x] || picture.At(x, y) != kWhite) {
      continue;
    }
    outside[y * picture.width + x] = true;
    pending.insert(pending.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
  }
  return outside;
}

struct StatePicture {
  const char* file;
  Rgb disc;  // just left of the letter's stem
};

const StatePicture kStatePictures[] = {
    {"BtnUp32.bmp", {14, 139, 195}},
    {"BtnHot32.bmp", {14, 195, 116}},
    {"BtnDown32.bmp", {71, 138, 109}},
};

TEST(InfoButtonPictures, AreTrueColour32By32WithExactly251SeeThroughPixels) {
  for (const StatePicture& state : kStatePictures) {
    SCOPED_TRACE(state.file);
    const Picture picture = ReadPicture(state.file);
    ASSERT_EQ(picture.bitsPerPixel, 24);
    EXPECT_EQ(picture.compression, 0u);
    ASSERT_EQ(picture.width, 32);
    ASSERT_EQ(picture.height, 32);
    int whites = 0;
    for (const Rgb& pixel : picture.pixels) whites += pixel == kWhite;
    EXPECT_EQ(whites, 251);
    for (const auto& [x, y] : {std::pair{0, 0}, {31, 0}, {0, 31}, {31, 31}}) {
      EXPECT_EQ(picture.At(x, y), kWhite) << x << "," << y;
    }
  }
}

TEST(InfoButtonPictures, DiscShowsTheStateColourLeftOfTheLetter) {
  constexpr int kTolerance = 6;
  for (const StatePicture& state : kStatePictures) {
    SCOPED_TRACE(state.file);
    const Picture picture = ReadPicture(state.file);
    ASSERT_EQ(picture.pixels.size(), 32u * 32u);
    const Rgb sample = picture.At(11, 18);
    EXPECT_NEAR(sample.r, state.disc.r, kTolerance);
    EXPECT_NEAR(sample.g, state.disc.g, kTolerance);
    EXPECT_NEAR(sample.b, state.disc.b, kTolerance);
  }
}

// Once white turns see-through, a light edge pixel would show as a halo on the window.
TEST(InfoButtonPictures, EdgeAgainstTheWindowIsNoLighterThanTheWindow) {
  for (const StatePicture& state : kStatePictures) {
    SCOPED_TRACE(state.file);
    const Picture picture = ReadPicture(state.file);
    ASSERT_EQ(picture.pixels.size(), 32u * 32u);
    const std::vector<bool> outside = Surroundings(picture);
    int edgePixels = 0;
    for (int y = 0; y < picture.height; ++y) {
      for (int x = 0; x < picture.width; ++x) {
        if (outside[y * picture.width + x]) continue;
        bool touchesOutside = false;
        for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
          touchesOutside |=
              picture.Inside(x + dx, y + dy) && outside[(y + dy) * picture.width + x + dx];
        }
        if (!touchesOutside) continue;
        ++edgePixels;
        EXPECT_NE(picture.At(x, y), kWhite) << x << "," << y;
        EXPECT_LE(Luminance(picture.At(x, y)), Luminance(kWindowFace)) << x << "," << y;
      }
    }
    EXPECT_GT(edgePixels, 60);  // the whole circumference, not a few stray pixels
  }
}

// Down the middle of the badge: disc, the dot, disc, the longer stem, disc.
TEST(InfoButtonPictures, LetterIReadsAsADotAboveAStem) {
  for (const StatePicture& state : kStatePictures) {
    SCOPED_TRACE(state.file);
    const Picture picture = ReadPicture(state.file);
    ASSERT_EQ(picture.pixels.size(), 32u * 32u);
    for (const int x : {15, 16}) {
      std::vector<bool> light;
      for (int y = 0; y < picture.height; ++y) {
        const Rgb c = picture.At(x, y);
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
      EXPECT_GE(runs[0], 4) << "column " << x;
      EXPECT_GT(runs[1], 2 * runs[0]) << "column " << x;
    }
  }
}

}  // namespace
