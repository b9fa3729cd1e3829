// The settings dialog's pictures: the committed files are what the generator
// writes, and each has the size and look described.
#include "saver/settings/dialog_pictures.h"

#include <gtest/gtest.h>

#include "bitmap/bitmap.h"
#include "saver/settings/bands.h"

#include <fstream>
#include <iterator>
#include <set>
#include <tuple>

namespace tremblix {
namespace {

std::vector<uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

TEST(DialogPicturesTest, CommittedFilesAreWhatTheGeneratorWrites) {
  for (const DialogPicture& picture : DialogPictures()) {
    const std::string path = std::string(TREMBLIX_DIALOG_PICTURES_DIR) + "/" + picture.file_name;
    EXPECT_EQ(FileBytes(path), picture.bytes)
        << path << " differs; run dialoggen saver/settings/pictures and commit";
  }
}

TEST(DialogPicturesTest, MarksAre12By12WithAGreyFrame) {
  for (bool filled : {false, true}) {
    const auto bmp = MarkBmp(filled);
    ASSERT_EQ(bmp.size(), 54u + 12 * 12 * 3);
    EXPECT_EQ(bmp[18], 12);
    EXPECT_EQ(bmp[22], 12);
    EXPECT_EQ(bmp[28], 24);
    for (int i = 0; i < 12; ++i) {
      EXPECT_EQ(MarkPixel(filled, i, 0), (Rgb{128, 128, 128}));
      EXPECT_EQ(MarkPixel(filled, 11, i), (Rgb{128, 128, 128}));
    }
  }
  EXPECT_EQ(MarkPixel(false, 6, 6), (Rgb{255, 255, 255}));
  const Rgb middle = MarkPixel(true, 6, 6);
  EXPECT_GT(middle.b, 200);
  EXPECT_LT(middle.r, 64);
}

TEST(DialogPicturesTest, IconIs32By32With256Colours) {
  const auto ico = IconIco();
  EXPECT_EQ(ico[2], 1);   // type icon
  EXPECT_EQ(ico[6], 32);  // width
  EXPECT_EQ(ico[7], 32);  // height
  EXPECT_EQ(ico[8], 0);   // 256 colours
  EXPECT_EQ(ico[22 + 14], 8);  // bits per pixel
  EXPECT_TRUE(TremblixIconPixel(0, 0).clear);
  EXPECT_FALSE(TremblixIconPixel(16, 16).clear);
}

TEST(DialogPicturesTest, HandIsATwoColourCursorWithItsHotSpotAtTheFingerTip) {
  const auto cur = HandCur();
  EXPECT_EQ(cur[2], 2);  // type cursor
  EXPECT_EQ(cur[6], 32);
  EXPECT_EQ(cur[7], 32);
  EXPECT_EQ(cur[10] | cur[11] << 8, 12);  // hot spot x
  EXPECT_EQ(cur[12] | cur[13] << 8, 10);  // hot spot y
  EXPECT_EQ(cur[22 + 14], 1);             // bits per pixel
  EXPECT_EQ(PointingHandPixel(12, 10), HandPixel::kBlack);
  EXPECT_EQ(PointingHandPixel(12, 9), HandPixel::kClear);  // nothing above the tip
  EXPECT_EQ(PointingHandPixel(12, 12), HandPixel::kWhite);  // inside the finger
  EXPECT_EQ(PointingHandPixel(0, 31), HandPixel::kClear);
}

// Pixel (x, y) from the top left of the stored mark.
Rgb StoredMarkPixel(const BmpImage& image, int x, int y) {
  const uint8_t* p = &image.pixels[(image.height - 1 - y) * BmpRowBytes(image.width, 24) + 3 * x];
  return {p[2], p[1], p[0]};
}

// Pixel (x, y) from the top left of the stored cursor: after the headers and two colours, bottom
// row first, its 32 x 32 one-bit colour (set: white), then its mask (set: clear).
HandPixel StoredHandPixel(const std::vector<uint8_t>& cur, int x, int y) {
  const size_t row = 22 + 40 + 8 + (kIconSize - 1 - y) * 4 + x / 8;
  const uint8_t bit = 0x80 >> (x % 8);
  if (cur[row + kIconSize * 4] & bit) return HandPixel::kClear;
  return cur[row] & bit ? HandPixel::kWhite : HandPixel::kBlack;
}

// Drawn for a larger scale, each pixel of the pictures the program stores
// becomes a square of band pixels.
TEST(DialogPicturesTest, MarksAndHandAtABandAreSquaresOfTheStoredPixels) {
  const std::string folder = std::string(TREMBLIX_DIALOG_PICTURES_DIR) + "/";
  const auto hand = FileBytes(folder + "hand.cur");
  ASSERT_EQ(hand.size(), 22u + 40 + 8 + 2 * kIconSize * 4);
  for (bool filled : {false, true}) {
    const auto file = FileBytes(folder + (filled ? "mark_filled.bmp" : "mark_open.bmp"));
    BmpImage mark;
    ASSERT_EQ(DecodeBmp(file.data(), file.size(), mark), BmpResult::kOk);
    for (int band : {2, 3}) {
      for (int y = 0; y < kMarkSize * band; ++y) {
        for (int x = 0; x < kMarkSize * band; ++x) {
          ASSERT_EQ(MarkPixelAt(filled, x, y, band), StoredMarkPixel(mark, x / band, y / band))
              << (filled ? "filled " : "open ") << band << " " << x << "," << y;
        }
      }
    }
  }
  for (int band : {2, 3}) {
    for (int y = 0; y < kIconSize * band; ++y) {
      for (int x = 0; x < kIconSize * band; ++x) {
        ASSERT_EQ(PointingHandPixelAt(x, y, band), StoredHandPixel(hand, x / band, y / band))
            << band << " " << x << "," << y;
      }
    }
  }
  // The hot spot, the tip of the finger, scales with the hand.
  EXPECT_EQ(PointingHandPixelAt(kHandHotSpotX * 2, kHandHotSpotY * 2, 2), HandPixel::kBlack);
}

TEST(DialogPicturesTest, TheIconAt32IsTheDesignAndAnySizeKeepsItsShades) {
  std::set<std::tuple<int, int, int>> shades;
  for (int y = 0; y < kIconSize; ++y) {
    for (int x = 0; x < kIconSize; ++x) {
      const IconPixel a = TremblixIconPixelAt(x, y, kIconSize), b = TremblixIconPixel(x, y);
      ASSERT_EQ(a.clear, b.clear) << x << "," << y;
      if (!a.clear) ASSERT_EQ(a.colour, b.colour) << x << "," << y;
    }
  }
  for (int c = 0; c <= 220; ++c) {
    const Rgb band = DialogBandColour(c);
    shades.insert({band.r, band.g, band.b});
  }
  for (int size : {16, 20, 24, 40, 48, 64}) {
    int ball = 0;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const IconPixel p = TremblixIconPixelAt(x, y, size);
        if (p.clear) continue;
        ++ball;
        ASSERT_TRUE(shades.count({p.colour.r, p.colour.g, p.colour.b})) << size << " " << x;
      }
    }
    // A ball of radius 15/32 of the icon: its area within a few percent.
    const double expected = 3.14159 * (15.0 * size / 32) * (15.0 * size / 32);
    EXPECT_NEAR(ball, expected, expected * 0.08) << size;
    EXPECT_TRUE(TremblixIconPixelAt(0, 0, size).clear) << size;
    EXPECT_FALSE(TremblixIconPixelAt(size / 2, size / 2, size).clear) << size;
  }
}

}  // namespace
}  // namespace tremblix
