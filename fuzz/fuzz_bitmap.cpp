// Any file at a hand-off path: the reader either rejects it or gives a picture
// whose rows are all there, and never reads outside the file. Read as a file,
// a piece at a time, it gives the same answer and the same picture.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "bitmap/bitmap.h"

using namespace tremblix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  BmpImage image;
  const BmpResult result = DecodeBmp(data, size, image);
  MemoryBytes file(data, size);
  BmpImage read;
  if (ReadBmp(file, read) != result) std::abort();
  // The size the headers give is the picture's, wherever the headers make one.
  int32_t width = 0, height = 0;
  const bool sized = BmpSize(data, size, width, height);
  if (result == BmpResult::kOk && (!sized || width != image.width)) std::abort();
  if (result != BmpResult::kOk) return 0;
  if (image.width <= 0 || image.height <= 0) std::abort();
  if (image.pixels.size() != BmpRowBytes(image.width, 24) * image.height) std::abort();
  if (read.width != image.width || read.height != image.height || read.pixels != image.pixels) {
    std::abort();
  }
  return 0;
}
