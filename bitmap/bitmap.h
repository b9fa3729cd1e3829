// The hand-off pictures: uncompressed 24-bit bitmap files, rows of 3-byte
// blue-green-red pixels, bottom row first. The screen saver writes them, the
// renderer reads them and hands the rows to OpenGL as they are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tremblix {

struct BmpImage {
  int32_t width = 0;
  int32_t height = 0;            // always positive: rows are bottom-up
  std::vector<uint8_t> pixels;   // rows padded to a multiple of 4 bytes
};

enum class BmpResult {
  kOk,
  kTooShort,          // less than the 14-byte file header
  kNotBitmap,         // does not start with "BM"
  kBadHeader,         // information header too short, or sizes that make no picture
  kUnsupportedDepth,  // neither 24 nor 32 bits per pixel
  kTooLarge,          // more pixels than a texture could take
  kTruncated,         // a block shorter than announced, or announced too small
};

// Row length in bytes of a picture of the given width and depth.
uint64_t BmpRowBytes(int64_t width, int bits_per_pixel);

// Decodes a whole file. Reads nothing outside [data, data + size), whatever
// the headers say. 32-bit pictures lose their fourth byte; top-down pictures
// come out bottom-up.
BmpResult DecodeBmp(const uint8_t* data, size_t size, BmpImage& image);

// The bytes of the headers that give a picture's size: "BM", then the width
// and the height as the information header holds them.
constexpr size_t kBmpSizeBytes = 26;

// The width and the height the headers at the start of a file give (the
// height as stored, negative for a top-down picture); false when there are
// fewer than kBmpSizeBytes or they do not start with "BM".
bool BmpSize(const uint8_t* data, size_t size, int32_t& width, int32_t& height);

// A file read from its start, a piece at a time.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t Size() = 0;  // of the whole file
  // Reads up to size bytes on from the last; returns how many arrived.
  virtual size_t Read(uint8_t* into, size_t size) = 0;
};

// Bytes in memory as a file.
class MemoryBytes : public ByteSource {
 public:
  MemoryBytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint64_t Size() override { return size_; }
  size_t Read(uint8_t* into, size_t size) override;

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

// Reads a picture from a file: the same pictures and the same refusals as
// DecodeBmp of the whole file. A 24-bit bottom-up picture, as the screen
// saver writes them, is read straight into image.pixels, with no copy of the
// file on the way.
BmpResult ReadBmp(ByteSource& file, BmpImage& image);

// 96 dots an inch, in the pixels a metre a bitmap header gives.
constexpr uint32_t kBmp96Dpi = 3780;

// A picture of the given size, every pixel black.
BmpImage BlackBmp(int32_t width, int32_t height);

// A picture of the given size whose pixel (x, y), counted from the top
// left, is pixel_at(x, y): anything with r, g and b members.
template <typename PixelAt>
BmpImage DrawBmp(int32_t width, int32_t height, PixelAt pixel_at) {
  BmpImage image = BlackBmp(width, height);
  const uint64_t row_bytes = BmpRowBytes(width, 24);
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = &image.pixels[(height - 1 - y) * row_bytes];
    for (int32_t x = 0; x < width; ++x) {
      const auto p = pixel_at(x, y);
      row[3 * x] = p.b;
      row[3 * x + 1] = p.g;
      row[3 * x + 2] = p.r;
    }
  }
  return image;
}

// File header and 40-byte information header, before the rows.
constexpr size_t kBmpHeaderBytes = 54;

// Writes the headers of a 24-bit picture of pixel_bytes bytes of rows.
void PutBmpHeaders(uint8_t* out, int32_t width, int32_t height, uint32_t pixel_bytes,
                   uint32_t pixels_per_metre = 0);

// The whole file of a picture: file header, 40-byte information header, rows.
// The resolution is written as given, in pixels a metre (0: none given).
std::vector<uint8_t> EncodeBmp(const BmpImage& image, uint32_t pixels_per_metre = 0);

}  // namespace tremblix
