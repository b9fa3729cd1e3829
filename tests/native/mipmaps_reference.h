// The mipmap chain as the renderer first built it: a plain box filter, one
// target pixel at a time. The tests hold the faster chain to it, level by
// level and pixel for pixel.
#pragma once

#include <algorithm>
#include <vector>

#include "bitmap/bitmap.h"
#include "renderer/mipmaps.h"

namespace tremblix::reference {


// Resamples to width x height: each target pixel is the mean of the source
// pixels it covers. Row by row, with reciprocals instead of divisions: a
// screen-sized picture has millions of pixels to average.
inline BmpImage Scale(const BmpImage& from, int32_t width, int32_t height) {
  if (from.width == width && from.height == height) return from;
  BmpImage to = BlackBmp(width, height);
  const size_t from_row = BmpRowBytes(from.width, 24);
  const size_t to_row = BmpRowBytes(width, 24);

  std::vector<int32_t> first(width), last(width);
  std::vector<uint32_t> scale(width);  // 2^24 / span: sums become 1/256 steps
  for (int32_t x = 0; x < width; ++x) {
    first[x] = static_cast<int32_t>(static_cast<int64_t>(x) * from.width / width);
    last[x] = std::max(first[x] + 1,
                       static_cast<int32_t>(static_cast<int64_t>(x + 1) * from.width / width));
    scale[x] = (1u << 24) / static_cast<uint32_t>(last[x] - first[x]);
  }
  std::vector<uint32_t> row(static_cast<size_t>(width) * 3);
  for (int32_t y = 0; y < height; ++y) {
    const int32_t y0 = static_cast<int32_t>(static_cast<int64_t>(y) * from.height / height);
    const int32_t y1 = std::max(
        y0 + 1, static_cast<int32_t>(static_cast<int64_t>(y + 1) * from.height / height));
    std::fill(row.begin(), row.end(), 0);
    for (int32_t sy = y0; sy < y1; ++sy) {
      const uint8_t* in = from.pixels.data() + sy * from_row;
      uint32_t* sums = row.data();
      for (int32_t x = 0; x < width; ++x, sums += 3) {
        uint32_t b = 0, g = 0, r = 0;
        for (const uint8_t* p = in + first[x] * 3; p < in + last[x] * 3; p += 3) {
          b += p[0], g += p[1], r += p[2];
        }
        sums[0] += (b * scale[x]) >> 16;
        sums[1] += (g * scale[x]) >> 16;
        sums[2] += (r * scale[x]) >> 16;
      }
    }
    const uint64_t rows_scale = (1u << 24) / static_cast<uint32_t>(y1 - y0);
    uint8_t* out = to.pixels.data() + y * to_row;
    for (int32_t i = 0; i < width * 3; ++i) {
      out[i] = static_cast<uint8_t>(((row[i] * rows_scale >> 24) + 128) >> 8);
    }
  }
  return to;
}

// The next level: each pixel the rounded mean of the 2 x 2 it stands for (of
// 2 x 1 or 1 x 2 once a side has reached 1).
inline BmpImage Halve(const BmpImage& from) {
  const int32_t width = std::max(from.width / 2, 1), height = std::max(from.height / 2, 1);
  BmpImage to = BlackBmp(width, height);
  const size_t from_row = BmpRowBytes(from.width, 24);
  const size_t to_row = BmpRowBytes(width, 24);
  const int32_t dx = from.width > 1 ? 3 : 0;
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* top = from.pixels.data() + (2 * y) * from_row;
    const uint8_t* bottom = from.height > 1 ? top + from_row : top;
    uint8_t* out = to.pixels.data() + y * to_row;
    for (int32_t x = 0; x < width; ++x) {
      const int32_t at = 6 * x;
      for (int c = 0; c < 3; ++c) {
        *out++ = static_cast<uint8_t>(
            (top[at + c] + top[at + dx + c] + bottom[at + c] + bottom[at + dx + c] + 2) >> 2);
      }
    }
  }
  return to;
}


inline std::vector<BmpImage> BuildMipmaps(const BmpImage& picture, int32_t largest) {
  std::vector<BmpImage> levels;
  levels.push_back(Scale(picture, std::min(NearestPowerOfTwo(picture.width), largest),
                         std::min(NearestPowerOfTwo(picture.height), largest)));
  while (levels.back().width > 1 || levels.back().height > 1) {
    levels.push_back(Halve(levels.back()));
  }
  return levels;
}

}  // namespace tremblix::reference
