// The six face pictures of the push button, 64 x 25 pixels each: a backdrop
// outside rounded corners, a 1-pixel outline and an inner ring, all within the
// outer 4 pixels. The program embeds them from the bitmap files that
// tools/facegen writes from these rules.
#pragma once

#include <cstdint>
#include <vector>

#include "saver/controls/command/button_state.h"

namespace tremblix {

inline constexpr int kFacePixelWidth = 64;
inline constexpr int kFacePixelHeight = 25;

struct Rgb {
  uint8_t r, g, b;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

Rgb FacePixel(Face face, int x, int y);

// The picture drawn for a dpi whose band width (BandWidth) is band: every
// pixel of the 96-dpi picture becomes band x band pixels.
inline Rgb FacePixelAt(Face face, int x, int y, int band) {
  return FacePixel(face, x / band, y / band);
}

// The picture as a 24-bit bottom-up bitmap file.
std::vector<uint8_t> FacePictureBmp(Face face);

// The picture file of a face; HighLightSelect shows the HighLight picture.
const char* FaceFileName(Face face);

}  // namespace tremblix
