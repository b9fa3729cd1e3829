// The pictures the full-screen run hands to the renderer, made from one
// photograph of the screen so that all three show the same moment.
#pragma once

#include <string>
#include <vector>

#include "bitmap/bitmap.h"

namespace tremblix {

struct HandOffPicture {
  std::string path;
  BmpImage image;
};

// Pixel (x, y) is screen pixel (W - 1 - x, y).
BmpImage MirroredLeftRight(const BmpImage& screen);
// Pixel (x, y) is screen pixel (x, H - 1 - y).
BmpImage UpsideDown(const BmpImage& screen);

// The four pictures, in the order they are written: mirrored, unchanged,
// upside down, and a small black one.
std::vector<HandOffPicture> MakeHandOffPictures(const BmpImage& screen);

}  // namespace tremblix
