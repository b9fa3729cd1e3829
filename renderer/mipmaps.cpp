#include "renderer/mipmaps.h"

#include <algorithm>
#include <utility>

namespace tremblix {

namespace {

// Where each target pixel of one axis comes from: the source span it covers,
// and 2^24 / its length, by which a sum becomes a mean in 1/256 steps.
struct Spans {
  std::vector<int32_t> first, count;
  std::vector<uint32_t> scale;
  bool all_single = true;  // every span one source pixel: a pick, no sum
};

Spans SpansOf(int32_t from, int32_t to) {
  Spans spans;
  spans.first.resize(to);
  spans.count.resize(to);
  spans.scale.resize(to);
  for (int32_t i = 0; i < to; ++i) {
    const int32_t first = static_cast<int32_t>(static_cast<int64_t>(i) * from / to);
    const int32_t last =
        std::max(first + 1, static_cast<int32_t>(static_cast<int64_t>(i + 1) * from / to));
    spans.first[i] = first;
    spans.count[i] = last - first;
    spans.scale[i] = (1u << 24) / static_cast<uint32_t>(last - first);
    spans.all_single = spans.all_single && last - first == 1;
  }
  return spans;
}

// One source row resampled across: each value the mean of its span in 1/256
// steps, truncated (at most 255 * 256, so 16 bits hold it).
void ScaleAcross(const uint8_t* in, const Spans& columns, uint16_t* out) {
  const size_t width = columns.first.size();
  if (columns.all_single) {
    for (size_t x = 0; x < width; ++x, out += 3) {
      const uint8_t* p = in + 3 * columns.first[x];
      out[0] = static_cast<uint16_t>(p[0] << 8);
      out[1] = static_cast<uint16_t>(p[1] << 8);
      out[2] = static_cast<uint16_t>(p[2] << 8);
    }
    return;
  }
  for (size_t x = 0; x < width; ++x, out += 3) {
    const uint8_t* p = in + 3 * columns.first[x];
    const uint8_t* end = p + 3 * columns.count[x];
    uint32_t b = 0, g = 0, r = 0;
    for (; p < end; p += 3) b += p[0], g += p[1], r += p[2];
    const uint32_t scale = columns.scale[x];
    out[0] = static_cast<uint16_t>((b * scale) >> 16);
    out[1] = static_cast<uint16_t>((g * scale) >> 16);
    out[2] = static_cast<uint16_t>((r * scale) >> 16);
  }
}

// A target row whose columns are each one source pixel, from one source row
// or the rounded mean of two (second not null).
void PickAcross(const uint8_t* first, const uint8_t* second, const Spans& columns,
                uint8_t* out) {
  const size_t width = columns.first.size();
  if (!second) {
    for (size_t x = 0; x < width; ++x, out += 3) {
      const uint8_t* p = first + 3 * columns.first[x];
      out[0] = p[0], out[1] = p[1], out[2] = p[2];
    }
    return;
  }
  for (size_t x = 0; x < width; ++x, out += 3) {
    const size_t at = 3 * columns.first[x];
    const uint8_t *p = first + at, *q = second + at;
    out[0] = static_cast<uint8_t>((p[0] + q[0] + 1) >> 1);
    out[1] = static_cast<uint8_t>((p[1] + q[1] + 1) >> 1);
    out[2] = static_cast<uint8_t>((p[2] + q[2] + 1) >> 1);
  }
}

// Resamples to width x height: each target pixel is the mean of the source
// pixels it covers. Separable: each source row is resampled across once, then
// the rows of a span are summed down, each row's mean truncated to 1/256 and
// the sum rounded once, as the first, pixel-by-pixel version did.
BmpImage Scale(BmpImage from, int32_t width, int32_t height) {
  if (from.width == width && from.height == height) return from;
  BmpImage to = BlackBmp(width, height);
  const size_t from_row = BmpRowBytes(from.width, 24);
  const size_t to_row = BmpRowBytes(width, 24);
  const size_t values = static_cast<size_t>(width) * 3;
  const Spans columns = SpansOf(from.width, width);
  const Spans rows = SpansOf(from.height, height);

  std::vector<uint16_t> across(values);
  std::vector<uint32_t> sums(values);
  int32_t previous_first = -1;
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* out = to.pixels.data() + y * to_row;
    const int32_t first = rows.first[y], count = rows.count[y];
    // Enlarged, a row repeats its source row: the same result again.
    if (count == 1 && first == previous_first) {
      std::copy_n(out - to_row, values, out);
      continue;
    }
    previous_first = first;
    if (columns.all_single && count <= 2) {
      // The common case of a screen, each side close to its power of two:
      // picks, and means of two, straight from the bytes. (a + b) * 128 + 128
      // over 256 is (a + b + 1) / 2, what the sums below come to.
      PickAcross(from.pixels.data() + first * from_row,
                 count == 2 ? from.pixels.data() + (first + 1) * from_row : nullptr, columns,
                 out);
      continue;
    }
    if (count == 1) {
      ScaleAcross(from.pixels.data() + first * from_row, columns, across.data());
      for (size_t i = 0; i < values; ++i) out[i] = static_cast<uint8_t>((across[i] + 128) >> 8);
      continue;
    }
    std::fill(sums.begin(), sums.end(), 0);
    for (int32_t sy = first; sy < first + count; ++sy) {
      ScaleAcross(from.pixels.data() + sy * from_row, columns, across.data());
      for (size_t i = 0; i < values; ++i) sums[i] += across[i];
    }
    if ((count & (count - 1)) == 0) {
      // 2^24 / count is exact: product and shift come to a plain shift.
      int shift = 0;
      while ((1 << shift) < count) ++shift;
      for (size_t i = 0; i < values; ++i) {
        out[i] = static_cast<uint8_t>(((sums[i] >> shift) + 128) >> 8);
      }
    } else {
      const uint32_t scale = rows.scale[y];
      for (size_t i = 0; i < values; ++i) {
        out[i] = static_cast<uint8_t>(
            ((static_cast<uint64_t>(sums[i]) * scale >> 24) + 128) >> 8);
      }
    }
  }
  return to;
}

// The next level: each pixel the rounded mean of the 2 x 2 it stands for (of
// 2 x 1 or 1 x 2 once a side has reached 1).
BmpImage Halve(const BmpImage& from) {
  const int32_t width = std::max(from.width / 2, 1), height = std::max(from.height / 2, 1);
  BmpImage to = BlackBmp(width, height);
  const size_t from_row = BmpRowBytes(from.width, 24);
  const size_t to_row = BmpRowBytes(width, 24);
  const size_t dx = from.width > 1 ? 3 : 0;
  const size_t values = static_cast<size_t>(width) * 3;
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* top = from.pixels.data() + (2 * y) * from_row;
    const uint8_t* bottom = from.height > 1 ? top + from_row : top;
    uint8_t* out = to.pixels.data() + y * to_row;
    for (size_t i = 0, at = 0; i < values; i += 3, at += 6) {
      out[i] = static_cast<uint8_t>(
          (top[at] + top[at + dx] + bottom[at] + bottom[at + dx] + 2) >> 2);
      out[i + 1] = static_cast<uint8_t>(
          (top[at + 1] + top[at + dx + 1] + bottom[at + 1] + bottom[at + dx + 1] + 2) >> 2);
      out[i + 2] = static_cast<uint8_t>(
          (top[at + 2] + top[at + dx + 2] + bottom[at + 2] + bottom[at + dx + 2] + 2) >> 2);
    }
  }
  return to;
}

}  // namespace

int32_t NearestPowerOfTwo(int32_t size) {
  int32_t power = 1;
  while (power < size && power <= (1 << 29)) {
    if (size < power * 2 && size - power < power / 2) break;
    power *= 2;
  }
  return power;
}

std::vector<BmpImage> BuildMipmaps(BmpImage picture, int32_t largest) {
  std::vector<BmpImage> levels;
  const int32_t width = std::min(NearestPowerOfTwo(picture.width), largest);
  const int32_t height = std::min(NearestPowerOfTwo(picture.height), largest);
  // The picture goes as soon as level 0 stands: a screen-sized one is large.
  levels.push_back(Scale(std::move(picture), width, height));
  while (levels.back().width > 1 || levels.back().height > 1) {
    levels.push_back(Halve(levels.back()));
  }
  return levels;
}

}  // namespace tremblix
