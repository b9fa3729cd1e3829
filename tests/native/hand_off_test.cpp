#include "saver/run/hand_off.h"

#include <gtest/gtest.h>

namespace tremblix {
namespace {

// A screen whose pixel (x, y) is (x, y, 200), y counted from the bottom.
BmpImage Screen(int32_t width, int32_t height) {
  BmpImage screen = BlackBmp(width, height);
  size_t row = BmpRowBytes(width, 24);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      uint8_t* p = screen.pixels.data() + y * row + 3 * x;
      p[0] = static_cast<uint8_t>(x);
      p[1] = static_cast<uint8_t>(y);
      p[2] = 200;
    }
  }
  return screen;
}

std::vector<uint8_t> At(const BmpImage& image, int32_t x, int32_t y) {
  const uint8_t* p = image.pixels.data() + y * BmpRowBytes(image.width, 24) + 3 * x;
  return {p[0], p[1], p[2]};
}

TEST(HandOff, MirrorsAndFlipsEveryPixel) {
  const BmpImage screen = Screen(7, 5);  // 21-byte rows: padding in play
  const BmpImage mirrored = MirroredLeftRight(screen);
  const BmpImage flipped = UpsideDown(screen);
  for (int32_t y = 0; y < 5; ++y) {
    for (int32_t x = 0; x < 7; ++x) {
      EXPECT_EQ(At(mirrored, x, y), At(screen, 6 - x, y));
      EXPECT_EQ(At(flipped, x, y), At(screen, x, 4 - y));
    }
  }
}

TEST(HandOff, WritesFourFilesTheReaderTakesBack) {
  // Not the size of picture 4, so that a black picture made at screen size
  // would show.
  const BmpImage screen = Screen(61, 37);  // 183-byte rows, 1 byte of padding
  std::vector<HandOffPicture> pictures = MakeHandOffPictures(screen);
  ASSERT_EQ(pictures.size(), 4u);
  const char* paths[] = {"C:\\Tremblix1.bmp", "C:\\Tremblix2.bmp", "C:\\Tremblix3.bmp",
                         "C:\\Tremblix4.bmp"};
  for (int i = 0; i < 4; ++i) {
    const int32_t width = i < 3 ? 61 : 93, height = i < 3 ? 37 : 85;
    const size_t row = i < 3 ? 184 : 280;
    EXPECT_EQ(pictures[i].path, paths[i]);
    std::vector<uint8_t> file = EncodeBmp(pictures[i].image);
    EXPECT_EQ(file.size(), 54u + height * row) << paths[i];
    EXPECT_EQ(file[28], 24) << "bits per pixel";
    BmpImage back;
    ASSERT_EQ(DecodeBmp(file.data(), file.size(), back), BmpResult::kOk);
    EXPECT_EQ(back.width, width) << paths[i];
    EXPECT_EQ(back.height, height) << paths[i];
    EXPECT_EQ(back.pixels, pictures[i].image.pixels);
  }
  EXPECT_EQ(pictures[1].image.pixels, screen.pixels);
  EXPECT_EQ(pictures[3].image.pixels, std::vector<uint8_t>(85 * 280, 0));
}

}  // namespace
}  // namespace tremblix
