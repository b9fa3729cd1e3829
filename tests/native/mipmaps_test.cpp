#include "renderer/mipmaps.h"

#include <gtest/gtest.h>

#include "tests/native/mipmaps_reference.h"

namespace tremblix {
namespace {

BmpImage Plain(int32_t width, int32_t height, uint8_t b, uint8_t g, uint8_t r) {
  BmpImage image = BlackBmp(width, height);
  size_t row = BmpRowBytes(width, 24);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      uint8_t* p = image.pixels.data() + y * row + 3 * x;
      p[0] = b, p[1] = g, p[2] = r;
    }
  }
  return image;
}

// Every byte from a small generator: any difference in the arithmetic shows.
BmpImage Noise(int32_t width, int32_t height) {
  BmpImage image = BlackBmp(width, height);
  const size_t row = BmpRowBytes(width, 24);
  uint32_t state = 12345u + static_cast<uint32_t>(width) * 31u + static_cast<uint32_t>(height);
  for (int32_t y = 0; y < height; ++y) {
    for (size_t i = 0; i < static_cast<size_t>(width) * 3; ++i) {
      state = state * 1664525u + 1013904223u;
      image.pixels[y * row + i] = static_cast<uint8_t>(state >> 24);
    }
  }
  return image;
}

void ExpectSameChainAsBefore(int32_t width, int32_t height, int32_t largest) {
  const BmpImage picture = Noise(width, height);
  const std::vector<BmpImage> expected = reference::BuildMipmaps(picture, largest);
  const std::vector<BmpImage> levels = BuildMipmaps(picture, largest);
  ASSERT_EQ(levels.size(), expected.size());
  for (size_t level = 0; level < levels.size(); ++level) {
    EXPECT_EQ(levels[level].width, expected[level].width) << "level " << level;
    EXPECT_EQ(levels[level].height, expected[level].height) << "level " << level;
    // EXPECT_TRUE rather than EXPECT_EQ: a failure would print millions of bytes.
    EXPECT_TRUE(levels[level].pixels == expected[level].pixels)
        << width << " x " << height << ": level " << level << " differs";
  }
}

TEST(BuildMipmaps, SameLevelsAsTheFirstChainOnOddSizes) {
  ExpectSameChainAsBefore(1, 1, 8192);
  ExpectSameChainAsBefore(3, 5, 8192);      // enlarged across, reduced down
  ExpectSameChainAsBefore(1366, 768, 8192);
  ExpectSameChainAsBefore(300, 40, 128);    // spans of 2 and 3 across
  ExpectSameChainAsBefore(1000, 7, 64);     // spans of 15 and 16 across, 7 enlarged to 8
  ExpectSameChainAsBefore(5, 200, 8);       // spans of 25 down
}

TEST(BuildMipmaps, SameLevelsAsTheFirstChainOnAFourKScreen) {
  ExpectSameChainAsBefore(3840, 2160, 8192);
}

TEST(NearestPowerOfTwo, RoundsUpFromOneAndAHalf) {
  EXPECT_EQ(NearestPowerOfTwo(1), 1);
  EXPECT_EQ(NearestPowerOfTwo(3), 4);
  EXPECT_EQ(NearestPowerOfTwo(5), 4);
  EXPECT_EQ(NearestPowerOfTwo(6), 8);
  EXPECT_EQ(NearestPowerOfTwo(85), 64);
  EXPECT_EQ(NearestPowerOfTwo(93), 64);
  EXPECT_EQ(NearestPowerOfTwo(96), 128);
  EXPECT_EQ(NearestPowerOfTwo(1080), 1024);
  EXPECT_EQ(NearestPowerOfTwo(1920), 2048);
  EXPECT_EQ(NearestPowerOfTwo(1024), 1024);
}

TEST(BuildMipmaps, HalvesDownToOnePixel) {
  std::vector<BmpImage> levels = BuildMipmaps(Plain(1920, 1080, 10, 20, 30), 8192);
  ASSERT_EQ(levels.size(), 12u);  // 2048 x 1024 ... 2 x 1, 1 x 1
  EXPECT_EQ(levels[0].width, 2048);
  EXPECT_EQ(levels[0].height, 1024);
  EXPECT_EQ(levels[10].width, 2);
  EXPECT_EQ(levels[10].height, 1);
  EXPECT_EQ(levels[11].width, 1);
  EXPECT_EQ(levels[11].height, 1);
  for (const BmpImage& level : levels) {
    ASSERT_EQ(level.pixels.size(), BmpRowBytes(level.width, 24) * level.height);
    // A plain picture stays plain at every level, padding aside.
    EXPECT_EQ(level.pixels[0], 10);
    EXPECT_EQ(level.pixels[1], 20);
    EXPECT_EQ(level.pixels[2], 30);
  }
}

TEST(BuildMipmaps, AveragesWhatEachPixelCovers) {
  // Left half black, right half white: level 0 keeps the edge, the last level
  // is the mean.
  BmpImage picture = Plain(8, 2, 0, 0, 0);
  for (int x = 4; x < 8; ++x) {
    for (int y = 0; y < 2; ++y) {
      for (int c = 0; c < 3; ++c) picture.pixels[y * 24 + x * 3 + c] = 255;
    }
  }
  std::vector<BmpImage> levels = BuildMipmaps(picture, 8192);
  EXPECT_EQ(levels[0].pixels, picture.pixels);
  EXPECT_EQ(levels[1].pixels[0], 0);
  EXPECT_EQ(levels[1].pixels[3 * 3], 255);
  EXPECT_EQ(levels.back().pixels[0], 128);
}

TEST(BuildMipmaps, KeepsWithinTheLargestSize) {
  std::vector<BmpImage> levels = BuildMipmaps(Plain(300, 40, 1, 2, 3), 128);
  EXPECT_EQ(levels[0].width, 128);
  EXPECT_EQ(levels[0].height, 32);
  EXPECT_EQ(levels[0].pixels[0], 1);
}

}  // namespace
}  // namespace tremblix
