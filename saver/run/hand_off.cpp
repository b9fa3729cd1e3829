#include "saver/run/hand_off.h"

#include <algorithm>
#include <cstring>

namespace tremblix {

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

std::vector<HandOffPicture> MakeHandOffPictures(const BmpImage& screen) {
  return {
      {"C:\\Tremblix1.bmp", MirroredLeftRight(screen)},
      {"C:\\Tremblix2.bmp", screen},
      {"C:\\Tremblix3.bmp", UpsideDown(screen)},
      {"C:\\Tremblix4.bmp", BlackBmp(93, 85)},
  };
}

}  // namespace tremblix
