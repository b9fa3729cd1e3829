#include "bitmap/bitmap.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "tests/native/bmp_builder.h"

namespace tremblix {
namespace {

using testing::BmpSpec;
using testing::MakeBmp;

// Decodes the whole file, and reads it as a file too: the two must agree.
BmpResult Decode(const std::vector<uint8_t>& file, BmpImage& image) {
  const BmpResult result = DecodeBmp(file.data(), file.size(), image);
  MemoryBytes bytes(file.data(), file.size());
  BmpImage read;
  EXPECT_EQ(ReadBmp(bytes, read), result) << "read as a file";
  if (result == BmpResult::kOk) {
    EXPECT_EQ(read.width, image.width);
    EXPECT_EQ(read.height, image.height);
    EXPECT_EQ(read.pixels, image.pixels) << "read as a file";
  }
  return result;
}

BmpResult Decode(const BmpSpec& spec) {
  BmpImage image;
  return Decode(MakeBmp(spec), image);
}

// Blue, green and red of pixel (x, y) of a decoded picture, y counted from the bottom.
std::vector<uint8_t> Pixel(const BmpImage& image, int x, int y) {
  size_t row = BmpRowBytes(image.width, 24);
  const uint8_t* p = image.pixels.data() + y * row + x * 3;
  return {p[0], p[1], p[2]};
}

TEST(DecodeBmp, ReadsPaddedRowsWhenTheBlockSizeIsZero) {
  BmpSpec spec;
  spec.width = 93;
  spec.height = 85;
  BmpImage image;
  std::vector<uint8_t> file = MakeBmp(spec);
  ASSERT_EQ(file.size(), 54u + 85 * 280);
  ASSERT_EQ(Decode(file, image), BmpResult::kOk);
  EXPECT_EQ(image.width, 93);
  EXPECT_EQ(image.height, 85);
  EXPECT_EQ(image.pixels.size(), 85u * 280);
  EXPECT_EQ(Pixel(image, 92, 84), (std::vector<uint8_t>{92, 84, 7}));
}

TEST(DecodeBmp, TakesThePixelsFromTheAnnouncedOffset) {
  BmpSpec spec;
  spec.pixel_offset = 54 + 1024;  // a palette or anything else before the pixels
  spec.size_image = 16;
  BmpImage image;
  ASSERT_EQ(Decode(MakeBmp(spec), image), BmpResult::kOk);
  EXPECT_EQ(Pixel(image, 1, 0), (std::vector<uint8_t>{1, 0, 7}));
  EXPECT_EQ(Pixel(image, 0, 1), (std::vector<uint8_t>{0, 1, 7}));
}

TEST(DecodeBmp, TurnsATopDownPictureUpright) {
  BmpSpec spec;
  spec.width = 3;
  spec.height = -4;
  BmpImage image;
  ASSERT_EQ(Decode(MakeBmp(spec), image), BmpResult::kOk);
  EXPECT_EQ(image.height, 4);
  // The file's first row is the top one, so it becomes the last.
  EXPECT_EQ(Pixel(image, 2, 3), (std::vector<uint8_t>{2, 0, 7}));
  EXPECT_EQ(Pixel(image, 2, 0), (std::vector<uint8_t>{2, 3, 7}));
}

TEST(DecodeBmp, ConvertsThirtyTwoBitPictures) {
  BmpSpec spec;
  spec.width = 5;
  spec.height = 2;
  spec.bits = 32;
  BmpImage image;
  ASSERT_EQ(Decode(MakeBmp(spec), image), BmpResult::kOk);
  EXPECT_EQ(image.pixels.size(), 2u * 16);  // 15 bytes of pixels and 1 filler
  EXPECT_EQ(Pixel(image, 4, 1), (std::vector<uint8_t>{4, 1, 7}));
}

TEST(ReadBmp, ZeroesFillerBytesTheFileLeftSet) {
  BmpSpec spec;
  spec.width = 3;  // 9 bytes of pixels, 3 of filler a row
  spec.height = 2;
  std::vector<uint8_t> file = MakeBmp(spec);
  file[54 + 9] = 0xAA;
  file[54 + 12 + 11] = 0xBB;
  BmpImage image;
  ASSERT_EQ(Decode(file, image), BmpResult::kOk);
  EXPECT_EQ(image.pixels[9], 0);
  EXPECT_EQ(image.pixels[23], 0);
}

TEST(ReadBmp, StopsAtAFileThatEndsEarlierThanItsSize) {
  // The size is taken once; a file cut while it is read must not pass.
  struct Shrinking : MemoryBytes {
    using MemoryBytes::MemoryBytes;
    uint64_t Size() override { return 54 + 16; }
  };
  std::vector<uint8_t> file = MakeBmp(BmpSpec());
  Shrinking bytes(file.data(), file.size() - 1);
  BmpImage image;
  EXPECT_EQ(ReadBmp(bytes, image), BmpResult::kTruncated);
}

TEST(DecodeBmp, RejectsOtherDepths) {
  for (uint16_t bits : {0, 1, 4, 8, 16, 48}) {
    BmpSpec spec;
    spec.bits = bits;
    spec.pixel_bytes = 64;
    EXPECT_EQ(Decode(spec), BmpResult::kUnsupportedDepth) << bits;
  }
}

TEST(DecodeBmp, RejectsShortAndForeignFiles) {
  std::vector<uint8_t> file = MakeBmp(BmpSpec());
  BmpImage image;
  for (size_t size : {0, 1, 13}) {
    EXPECT_EQ(DecodeBmp(file.data(), size, image), BmpResult::kTooShort) << size;
  }
  file[0] = 'P';
  EXPECT_EQ(Decode(file, image), BmpResult::kNotBitmap);
}

TEST(DecodeBmp, RejectsBlocksShorterThanAnnounced) {
  std::vector<uint8_t> file = MakeBmp(BmpSpec());
  BmpImage image;
  // Every cut short of the whole file loses part of the pixels or the header.
  for (size_t size = 14; size < file.size(); ++size) {
    EXPECT_NE(DecodeBmp(file.data(), size, image), BmpResult::kOk) << size;
    MemoryBytes cut(file.data(), size);
    EXPECT_NE(ReadBmp(cut, image), BmpResult::kOk) << size;
  }
  struct Huge : ByteSource {  // 16 bytes of pixels at the end of almost 4 GiB
    std::vector<uint8_t> head = MakeBmp(BmpSpec());
    uint64_t Size() override { return 0xFFFFFFF0; }
    size_t Read(uint8_t* into, size_t size) override {
      std::fill_n(into, size, 0);
      std::copy_n(head.data(), std::min(size, head.size()), into), head.clear();
      return size;
    }
  } huge;
  testing::Put32(huge.head, 10, 0xFFFFFFF0);
  EXPECT_EQ(ReadBmp(huge, image), BmpResult::kTruncated);

  BmpSpec big_block;
  big_block.size_image = 0xFFFFFFFF;
  EXPECT_EQ(Decode(big_block), BmpResult::kTruncated);

  BmpSpec understated;  // claims fewer bytes than the rows need
  understated.width = 10;
  understated.size_image = 30;
  EXPECT_EQ(Decode(understated), BmpResult::kTruncated);
}

TEST(DecodeBmp, RejectsHeadersThatMakeNoPicture) {
  BmpSpec short_info;
  short_info.info_size = 12;  // an old-style header: no room for the fields read
  EXPECT_EQ(Decode(short_info), BmpResult::kBadHeader);

  for (int32_t width : {0, -3}) {
    BmpSpec spec;
    spec.width = width;
    spec.pixel_bytes = 16;
    EXPECT_EQ(Decode(spec), BmpResult::kBadHeader) << width;
  }
  BmpSpec no_rows;
  no_rows.height = 0;
  EXPECT_EQ(Decode(no_rows), BmpResult::kBadHeader);

  BmpSpec lowest;
  lowest.height = INT32_MIN;
  lowest.pixel_bytes = 16;
  EXPECT_EQ(Decode(lowest), BmpResult::kBadHeader);

  BmpSpec huge;
  huge.width = 1 << 30;
  huge.height = 1 << 30;
  huge.pixel_bytes = 16;
  EXPECT_EQ(Decode(huge), BmpResult::kTooLarge);
}

}  // namespace
}  // namespace tremblix
