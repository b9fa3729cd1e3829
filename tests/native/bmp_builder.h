// Builds bitmap files byte by byte for the reader's tests.
#pragma once

#include <cstdint>
#include <vector>

namespace tremblix::testing {

struct BmpSpec {
  int32_t width = 2;
  int32_t height = 2;
  uint16_t bits = 24;
  uint32_t size_image = 0;           // as written in the header
  uint32_t info_size = 40;           // bytes of information header
  int64_t pixel_offset = -1;         // -1: right after the header
  int64_t pixel_bytes = -1;          // -1: the padded rows in full
};

inline void Put32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// Pixel (x, y) of file row y has blue x, green y, red 7 (and 9 as a fourth byte).
inline std::vector<uint8_t> MakeBmp(const BmpSpec& spec) {
  const int64_t rows = spec.height < 0 ? -int64_t{spec.height} : spec.height;
  const int64_t row_bytes = (int64_t{spec.width} * spec.bits + 31) / 32 * 4;
  const int64_t pixel_bytes = spec.pixel_bytes >= 0 ? spec.pixel_bytes : row_bytes * rows;
  const uint32_t offset =
      spec.pixel_offset >= 0 ? static_cast<uint32_t>(spec.pixel_offset) : 14 + spec.info_size;
  std::vector<uint8_t> out(14 + spec.info_size, 0);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out, 10, offset);
  Put32(out, 14, spec.info_size);
  if (spec.info_size >= 24) {
    Put32(out, 18, static_cast<uint32_t>(spec.width));
    Put32(out, 22, static_cast<uint32_t>(spec.height));
    out[26] = 1;
    out[28] = static_cast<uint8_t>(spec.bits);
    out[29] = static_cast<uint8_t>(spec.bits >> 8);
    Put32(out, 34, spec.size_image);
  }
  out.resize(offset, 0);
  for (int64_t i = 0; i < pixel_bytes; ++i) {
    int bytes = spec.bits / 8;
    int64_t y = row_bytes > 0 ? i / row_bytes : 0, in_row = row_bytes > 0 ? i % row_bytes : 0;
    if (bytes == 0 || row_bytes <= 0 || in_row >= int64_t{spec.width} * bytes) {
      out.push_back(0);
      continue;
    }
    int64_t x = in_row / bytes, channel = in_row % bytes;
    const uint8_t values[4] = {static_cast<uint8_t>(x), static_cast<uint8_t>(y), 7, 9};
    out.push_back(channel < 4 ? values[channel] : 0);
  }
  return out;
}

}  // namespace tremblix::testing
