// Any file at a hand-off path: the reader either rejects it or gives a picture
// whose rows are all there, and never reads outside the file.
#include <cstdint>
#include <cstdlib>

#include "bitmap/bitmap.h"

using namespace tremblix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  BmpImage image;
  if (DecodeBmp(data, size, image) != BmpResult::kOk) return 0;
  if (image.width <= 0 || image.height <= 0) std::abort();
  if (image.pixels.size() != BmpRowBytes(image.width, 24) * image.height) std::abort();
  return 0;
}
