#include "bitmap/bitmap.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

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

bool BmpSize(const uint8_t* data, size_t size, int32_t& width, int32_t& height) {
  if (size < kBmpSizeBytes || data[0] != 'B' || data[1] != 'M') return false;
  width = I32(data + kFileHeaderBytes + 4);
  height = I32(data + kFileHeaderBytes + 8);
  return true;
}

uint64_t BmpRowBytes(int64_t width, int bits_per_pixel) {
  return (static_cast<uint64_t>(width) * bits_per_pixel + 31) / 32 * 4;
}

namespace {

// What the headers say, once they have been found to make a picture.
struct Layout {
  int32_t width = 0;
  int32_t height = 0;  // as in the file: negative for top-down rows
  int bits = 0;
  uint32_t pixel_offset = 0;
  int64_t rows = 0;
  uint64_t source_row = 0;
  uint64_t needed = 0;  // bytes of rows the picture takes from its block
};

// head holds the file's first min(size, 38) bytes; size is the whole file's.
BmpResult ReadLayout(const uint8_t* head, uint64_t size, Layout& layout) {
  if (size < kFileHeaderBytes) return BmpResult::kTooShort;
  if (head[0] != 'B' || head[1] != 'M') return BmpResult::kNotBitmap;

  const uint32_t pixel_offset = U32(head + 10);
  if (pixel_offset < kFileHeaderBytes + kInfoBytesRead) return BmpResult::kBadHeader;
  if (pixel_offset > size) return BmpResult::kTruncated;

  const uint8_t* info = head + kFileHeaderBytes;
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

  layout = {width, height, bits, pixel_offset, rows, source_row, needed};
  return BmpResult::kOk;
}

}  // namespace

BmpResult DecodeBmp(const uint8_t* data, size_t size, BmpImage& image) {
  Layout layout;
  const BmpResult result = ReadLayout(data, size, layout);
  if (result != BmpResult::kOk) return result;

  const uint64_t target_row = BmpRowBytes(layout.width, 24);
  const int64_t rows = layout.rows;
  image.width = layout.width;
  image.height = static_cast<int32_t>(rows);
  image.pixels.assign(target_row * rows, 0);
  const uint8_t* source = data + layout.pixel_offset;
  for (int64_t row = 0; row < rows; ++row) {
    const int64_t from = layout.height > 0 ? row : rows - 1 - row;
    const uint8_t* in = source + from * layout.source_row;
    uint8_t* out = image.pixels.data() + row * target_row;
    if (layout.bits == 24) {
      std::memcpy(out, in, static_cast<size_t>(layout.width) * 3);
    } else {
      for (int32_t x = 0; x < layout.width; ++x, in += 4, out += 3) std::memcpy(out, in, 3);
    }
  }
  return BmpResult::kOk;
}

size_t MemoryBytes::Read(uint8_t* into, size_t size) {
  const size_t count = std::min(size, size_ - at_);
  if (count > 0) std::memcpy(into, data_ + at_, count);
  at_ += count;
  return count;
}

BmpResult ReadBmp(ByteSource& file, BmpImage& image) {
  const uint64_t size = file.Size();
  std::vector<uint8_t> head(static_cast<size_t>(
      std::min<uint64_t>(size, kFileHeaderBytes + kInfoBytesRead)));
  if (file.Read(head.data(), head.size()) != head.size()) return BmpResult::kTruncated;
  Layout layout;
  const BmpResult result = ReadLayout(head.data(), size, layout);
  if (result != BmpResult::kOk) return result;

  if (layout.bits != 24 || layout.height < 0) {
    // Rows to convert or turn: through the whole file, as it is rare.
    if (size != static_cast<size_t>(size)) return BmpResult::kTooLarge;
    head.resize(static_cast<size_t>(size));
    const size_t rest = head.size() - (kFileHeaderBytes + kInfoBytesRead);
    if (file.Read(head.data() + kFileHeaderBytes + kInfoBytesRead, rest) != rest) {
      return BmpResult::kTruncated;
    }
    return DecodeBmp(head.data(), head.size(), image);
  }

  // The rows are already as a picture keeps them: padded, bottom row first.
  uint64_t gap = layout.pixel_offset - head.size();
  uint8_t skipped[4096];
  while (gap > 0) {
    const size_t piece = static_cast<size_t>(std::min<uint64_t>(gap, sizeof(skipped)));
    if (file.Read(skipped, piece) != piece) return BmpResult::kTruncated;
    gap -= piece;
  }
  BmpImage read;
  read.width = layout.width;
  read.height = layout.height;
  read.pixels.resize(static_cast<size_t>(layout.needed));
  if (file.Read(read.pixels.data(), read.pixels.size()) != read.pixels.size()) {
    return BmpResult::kTruncated;
  }
  // Filler bytes come out zero, as DecodeBmp leaves them.
  const size_t filler = static_cast<size_t>(layout.source_row) - 3 * layout.width;
  for (int64_t row = 0; filler > 0 && row < layout.rows; ++row) {
    std::memset(read.pixels.data() + (row + 1) * layout.source_row - filler, 0, filler);
  }
  image = std::move(read);
  return BmpResult::kOk;
}

BmpImage BlackBmp(int32_t width, int32_t height) {
  BmpImage image;
  image.width = width;
  image.height = height;
  image.pixels.assign(BmpRowBytes(width, 24) * height, 0);
  return image;
}

void PutBmpHeaders(uint8_t* out, int32_t width, int32_t height, uint32_t pixel_bytes,
                   uint32_t pixels_per_metre) {
  std::vector<uint8_t> headers;
  headers.reserve(kBmpHeaderBytes);
  headers.push_back('B');
  headers.push_back('M');
  Put32(headers, kBmpHeaderBytes + pixel_bytes);
  Put32(headers, 0);  // reserved
  Put32(headers, kBmpHeaderBytes);
  Put32(headers, 40);
  Put32(headers, static_cast<uint32_t>(width));
  Put32(headers, static_cast<uint32_t>(height));
  Put16(headers, 1);   // planes
  Put16(headers, 24);  // bits per pixel
  Put32(headers, 0);   // uncompressed
  Put32(headers, pixel_bytes);
  Put32(headers, pixels_per_metre);
  Put32(headers, pixels_per_metre);
  Put32(headers, 0);   // no palette
  Put32(headers, 0);
  std::memcpy(out, headers.data(), kBmpHeaderBytes);
}

std::vector<uint8_t> EncodeBmp(const BmpImage& image, uint32_t pixels_per_metre) {
  const uint32_t pixel_bytes = static_cast<uint32_t>(image.pixels.size());
  std::vector<uint8_t> out(kBmpHeaderBytes + pixel_bytes);
  PutBmpHeaders(out.data(), image.width, image.height, pixel_bytes, pixels_per_metre);
  std::copy(image.pixels.begin(), image.pixels.end(), out.begin() + kBmpHeaderBytes);
  return out;
}

}  // namespace tremblix
