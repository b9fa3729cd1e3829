#include "bitmap/bitmap.h"

#include <cstring>

namespace tremblix {

namespace {

constexpr size_t kFileHeaderBytes = 14;
// The information header is read up to and including biSizeImage.
constexpr size_t kInfoBytesRead = 24;
// 64 million pixels: far beyond any screen, and still a buffer we can hold.
constexpr uint64_t kMostPixels = 64ull << 20;

uint32_t U32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
int32_t I32(const uint8_t* p) { return static_cast<int32_t>(U32(p)); }
uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

void Put16(std::vector<uint8_t>& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

uint64_t BmpRowBytes(int64_t width, int bits_per_pixel) {
  return (static_cast<uint64_t>(width) * bits_per_pixel + 31) / 32 * 4;
}

BmpResult DecodeBmp(const uint8_t* data, size_t size, BmpImage& image) {
  if (size < kFileHeaderBytes) return BmpResult::kTooShort;
  if (data[0] != 'B' || data[1] != 'M') return BmpResult::kNotBitmap;

  const uint32_t pixel_offset = U32(data + 10);
  if (pixel_offset < kFileHeaderBytes + kInfoBytesRead) return BmpResult::kBadHeader;
  if (pixel_offset > size) return BmpResult::kTruncated;

  const uint8_t* info = data + kFileHeaderBytes;
  const int32_t width = I32(info + 4);
  const int32_t height = I32(info + 8);
  const int bits = U16(info + 14);
  const uint32_t size_image = U32(info + 20);

  if (width <= 0 || height == 0 || height == INT32_MIN) return BmpResult::kBadHeader;
  if (bits != 24 && bits != 32) return BmpResult::kUnsupportedDepth;
  const int64_t rows = height < 0 ? -static_cast<int64_t>(height) : height;
  if (static_cast<uint64_t>(width) * static_cast<uint64_t>(rows) > kMostPixels) {
    return BmpResult::kTooLarge;
  }

  const uint64_t source_row = BmpRowBytes(width, bits);
  const uint64_t needed = source_row * rows;
  const uint64_t block = size_image != 0 ? size_image : needed;
  if (size - pixel_offset < block || block < needed) return BmpResult::kTruncated;

  const uint64_t target_row = BmpRowBytes(width, 24);
  image.width = width;
  image.height = static_cast<int32_t>(rows);
  image.pixels.assign(target_row * rows, 0);
  const uint8_t* source = data + pixel_offset;
  for (int64_t row = 0; row < rows; ++row) {
    const int64_t from = height > 0 ? row : rows - 1 - row;
    const uint8_t* in = source + from * source_row;
    uint8_t* out = image.pixels.data() + row * target_row;
    if (bits == 24) {
      std::memcpy(out, in, static_cast<size_t>(width) * 3);
    } else {
      for (int32_t x = 0; x < width; ++x, in += 4, out += 3) std::memcpy(out, in, 3);
    }
  }
  return BmpResult::kOk;
}

BmpImage BlackBmp(int32_t width, int32_t height) {
  BmpImage image;
  image.width = width;
  image.height = height;
  image.pixels.assign(BmpRowBytes(width, 24) * height, 0);
  return image;
}

std::vector<uint8_t> EncodeBmp(const BmpImage& image, uint32_t pixels_per_metre) {
  constexpr uint32_t kHeaders = kFileHeaderBytes + 40;
  const uint32_t pixel_bytes = static_cast<uint32_t>(image.pixels.size());
  std::vector<uint8_t> out;
  out.reserve(kHeaders + pixel_bytes);
  out.push_back('B');
  out.push_back('M');
  Put32(out, kHeaders + pixel_bytes);
  Put32(out, 0);  // reserved
  Put32(out, kHeaders);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(image.width));
  Put32(out, static_cast<uint32_t>(image.height));
  Put16(out, 1);   // planes
  Put16(out, 24);  // bits per pixel
  Put32(out, 0);   // uncompressed
  Put32(out, pixel_bytes);
  Put32(out, pixels_per_metre);
  Put32(out, pixels_per_metre);
  Put32(out, 0);   // no palette
  Put32(out, 0);
  out.insert(out.end(), image.pixels.begin(), image.pixels.end());
  return out;
}

}  // namespace tremblix
