#include "saver/run/photograph.h"

#include <gtest/gtest.h>

#include <vector>

namespace tremblix {
namespace {

// A screen of 32-bit pixels, all of one colour, its fourth bytes garbage.
struct Screen {
  Screen(int32_t width, int32_t height) : bytes(static_cast<size_t>(width) * height * 4) {
    for (size_t i = 0; i < bytes.size(); i += 4) {
      bytes[i] = 0x30, bytes[i + 1] = 0x60, bytes[i + 2] = 0x90, bytes[i + 3] = uint8_t(i);
    }
    pixels = {width, height, 4, static_cast<size_t>(width) * 4, bytes.data()};
  }
  std::vector<uint8_t> bytes;
  ScreenPixels pixels;
};

TEST(IsOneColour, OnlyWhenEveryPixelHasTheFirstOnesColour) {
  Screen blank(64, 48);
  EXPECT_TRUE(IsOneColour(blank.pixels)) << "the fourth byte is no colour";
  // One pixel off, in the last row and the last column: a photograph.
  Screen two(64, 48);
  two.bytes[two.bytes.size() - 4 + 2] ^= 1;
  EXPECT_FALSE(IsOneColour(two.pixels));
  Screen first_differs(3, 1);
  first_differs.bytes[0] = 0;
  EXPECT_FALSE(IsOneColour(first_differs.pixels));
  // Rows of 24-bit pixels padded to four bytes: the padding is no pixel.
  std::vector<uint8_t> padded = {1, 2, 3, 99, 1, 2, 3, 77};
  EXPECT_TRUE(IsOneColour({1, 2, 3, 4, padded.data()}));
  EXPECT_TRUE(IsOneColour({0, 0, 4, 0, nullptr})) << "no pixels: nothing was copied";
}

TEST(ChoosePictures, ThePhotographThenEarlierPicturesThenTheWallpaperThenBlack) {
  int loads = 0;
  auto wallpaper = [&](bool there) {
    return [&loads, there] { return ++loads, there; };
  };
  EXPECT_EQ(ChoosePictures(true, true, wallpaper(true)), PictureSource::kPhotograph);
  EXPECT_EQ(ChoosePictures(false, true, wallpaper(true)), PictureSource::kEarlierPictures);
  EXPECT_EQ(loads, 0) << "the wallpaper is loaded only when it is used";
  EXPECT_EQ(ChoosePictures(false, false, wallpaper(true)), PictureSource::kWallpaper);
  EXPECT_EQ(ChoosePictures(false, false, wallpaper(false)), PictureSource::kBlack);
  EXPECT_EQ(ChoosePictures(false, false, nullptr), PictureSource::kBlack);
  EXPECT_EQ(loads, 2);
}

}  // namespace
}  // namespace tremblix
