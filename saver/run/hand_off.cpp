#include "saver/run/hand_off.h"

#include <cstring>

namespace tremblix {

namespace {

constexpr int32_t kBlackWidth = 93, kBlackHeight = 85;

// One row in its file's order: left to right, or right to left when mirrored.
void PutRow(const uint8_t* in, int32_t width, int bytes_per_pixel, bool mirrored, uint8_t* out) {
  if (!mirrored && bytes_per_pixel == 3) {
    std::memcpy(out, in, static_cast<size_t>(width) * 3);
    return;
  }
  const int step = mirrored ? -bytes_per_pixel : bytes_per_pixel;
  const uint8_t* p = mirrored ? in + static_cast<size_t>(width - 1) * bytes_per_pixel : in;
  for (int32_t x = 0; x < width; ++x, p += step, out += 3) {
    out[0] = p[0], out[1] = p[1], out[2] = p[2];
  }
}

}  // namespace

ScreenPixels PixelsOf(const BmpImage& screen) {
  return {screen.width, screen.height, 3, static_cast<size_t>(BmpRowBytes(screen.width, 24)),
          screen.pixels.data()};
}

void MakeHandOffFile(const ScreenPixels& screen, HandOffView view, std::vector<uint8_t>& file) {
  const size_t row_bytes = BmpRowBytes(screen.width, 24);
  const size_t pixel_bytes = row_bytes * screen.height;
  file.resize(kBmpHeaderBytes + pixel_bytes);
  PutBmpHeaders(file.data(), screen.width, screen.height, static_cast<uint32_t>(pixel_bytes));
  const size_t filler = row_bytes - static_cast<size_t>(screen.width) * 3;
  for (int32_t y = 0; y < screen.height; ++y) {
    const int32_t from = view == HandOffView::kUpsideDown ? screen.height - 1 - y : y;
    uint8_t* out = file.data() + kBmpHeaderBytes + y * row_bytes;
    PutRow(screen.rows + from * screen.row_bytes, screen.width, screen.bytes_per_pixel,
           view == HandOffView::kMirrored, out);
    std::memset(out + row_bytes - filler, 0, filler);
  }
}

std::vector<uint8_t> BlackHandOffFile() { return EncodeBmp(BlackBmp(kBlackWidth, kBlackHeight)); }

}  // namespace tremblix
