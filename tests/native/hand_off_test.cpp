#include "saver/run/hand_off.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tremblix {
namespace {

// A screen whose pixel (x, y) is (x, y, 200) with noise on top, y counted
// from the bottom.
BmpImage Screen(int32_t width, int32_t height) {
  BmpImage screen = BlackBmp(width, height);
  size_t row = BmpRowBytes(width, 24);
  uint32_t noise = 7;
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      noise = noise * 1664525u + 1013904223u;
      uint8_t* p = screen.pixels.data() + y * row + 3 * x;
      p[0] = static_cast<uint8_t>(x);
      p[1] = static_cast<uint8_t>(y);
      p[2] = static_cast<uint8_t>(200 + (noise >> 30));
    }
  }
  return screen;
}

// The same screen as a 32-bit section holds it, the fourth bytes set.
std::vector<uint8_t> FourBytesAPixel(const BmpImage& screen) {
  std::vector<uint8_t> rows;
  const size_t row = BmpRowBytes(screen.width, 24);
  for (int32_t y = 0; y < screen.height; ++y) {
    for (int32_t x = 0; x < screen.width; ++x) {
      const uint8_t* p = screen.pixels.data() + y * row + 3 * x;
      rows.insert(rows.end(), {p[0], p[1], p[2], 0xEE});
    }
  }
  return rows;
}

// The files as the screen saver first wrote them: each view made as a picture
// of its own, then encoded.
BmpImage MirroredLeftRight(const BmpImage& screen) {
  BmpImage mirrored = screen;
  const size_t row_bytes = BmpRowBytes(screen.width, 24);
  for (int32_t y = 0; y < screen.height; ++y) {
    const uint8_t* in = screen.pixels.data() + y * row_bytes;
    uint8_t* out = mirrored.pixels.data() + y * row_bytes;
    for (int32_t x = 0; x < screen.width; ++x) {
      std::memcpy(out + 3 * x, in + 3 * (screen.width - 1 - x), 3);
    }
  }
  return mirrored;
}

BmpImage UpsideDown(const BmpImage& screen) {
  BmpImage flipped = screen;
  const size_t row_bytes = BmpRowBytes(screen.width, 24);
  for (int32_t y = 0; y < screen.height; ++y) {
    std::copy_n(screen.pixels.data() + y * row_bytes, row_bytes,
                flipped.pixels.data() + (screen.height - 1 - y) * row_bytes);
  }
  return flipped;
}

std::vector<uint8_t> FirstFile(const BmpImage& screen, HandOffView view) {
  switch (view) {
    case HandOffView::kMirrored:
      return EncodeBmp(MirroredLeftRight(screen));
    case HandOffView::kUnchanged:
      return EncodeBmp(screen);
    case HandOffView::kUpsideDown:
      return EncodeBmp(UpsideDown(screen));
  }
  return {};
}

std::vector<uint8_t> At(const BmpImage& image, int32_t x, int32_t y) {
  const uint8_t* p = image.pixels.data() + y * BmpRowBytes(image.width, 24) + 3 * x;
  return {p[0], p[1], p[2]};
}

TEST(HandOff, MirrorsAndFlipsEveryPixel) {
  const BmpImage screen = Screen(7, 5);  // 21-byte rows: filler in play
  std::vector<uint8_t> file;
  BmpImage mirrored, flipped;
  MakeHandOffFile(PixelsOf(screen), HandOffView::kMirrored, file);
  ASSERT_EQ(DecodeBmp(file.data(), file.size(), mirrored), BmpResult::kOk);
  MakeHandOffFile(PixelsOf(screen), HandOffView::kUpsideDown, file);
  ASSERT_EQ(DecodeBmp(file.data(), file.size(), flipped), BmpResult::kOk);
  for (int32_t y = 0; y < 5; ++y) {
    for (int32_t x = 0; x < 7; ++x) {
      EXPECT_EQ(At(mirrored, x, y), At(screen, 6 - x, y));
      EXPECT_EQ(At(flipped, x, y), At(screen, x, 4 - y));
    }
  }
}

TEST(HandOff, FilesAreThoseFirstWrittenByteForByte) {
  for (auto [width, height] : {std::pair{7, 5}, std::pair{93, 85}, std::pair{1366, 768}}) {
    const BmpImage screen = Screen(width, height);
    const std::vector<uint8_t> section = FourBytesAPixel(screen);
    const ScreenPixels four = {width, height, 4, static_cast<size_t>(width) * 4, section.data()};
    std::vector<uint8_t> from_three, from_four;  // kept from view to view, as the saver does
    for (const HandOffFile& file : kScreenFiles) {
      MakeHandOffFile(PixelsOf(screen), file.view, from_three);
      MakeHandOffFile(four, file.view, from_four);
      const std::vector<uint8_t> first = FirstFile(screen, file.view);
      EXPECT_TRUE(from_three == first) << file.number << " from 24 bits, " << width << " x " << height;
      EXPECT_TRUE(from_four == first) << file.number << " from 32 bits, " << width << " x " << height;
    }
  }
}

TEST(HandOff, FourFilesInTheirOrderAndTheBlackOne) {
  for (int i = 0; i < 3; ++i) EXPECT_EQ(kScreenFiles[i].number, i + 1);
  EXPECT_EQ(kBlackFile, 4);
  const std::vector<uint8_t> black = BlackHandOffFile();
  EXPECT_EQ(black.size(), 54u + 85 * 280);
  EXPECT_EQ(black[28], 24) << "bits per pixel";
  BmpImage back;
  ASSERT_EQ(DecodeBmp(black.data(), black.size(), back), BmpResult::kOk);
  EXPECT_EQ(back.width, 93);
  EXPECT_EQ(back.height, 85);
  EXPECT_EQ(back.pixels, std::vector<uint8_t>(85 * 280, 0));
}

}  // namespace
}  // namespace tremblix
