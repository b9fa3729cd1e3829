// The pictures the full-screen run hands to the renderer, made from one
// photograph of the screen so that all three show the same moment, and made
// straight into the bytes of their files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "bitmap/bitmap.h"

namespace tremblix {

// A photograph of the screen as GDI gives it: rows bottom first, 3 or 4 bytes
// a pixel (blue, green, red, and a fourth that the files leave out). A
// row_bytes of 0 repeats one row: a plain colour.
struct ScreenPixels {
  int32_t width = 0;
  int32_t height = 0;
  int bytes_per_pixel = 3;
  size_t row_bytes = 0;
  const uint8_t* rows = nullptr;
};

ScreenPixels PixelsOf(const BmpImage& screen);

enum class HandOffView {
  kMirrored,    // pixel (x, y) is screen pixel (W - 1 - x, y)
  kUnchanged,
  kUpsideDown,  // pixel (x, y) is screen pixel (x, H - 1 - y)
};

// Picture n is the file TremblixN.bmp in the pictures' folder (places.h).
struct HandOffFile {
  int number;
  HandOffView view;
};

// The screen-sized pictures in the order they are written, then the small
// black one.
inline constexpr HandOffFile kScreenFiles[] = {
    {1, HandOffView::kMirrored},
    {2, HandOffView::kUnchanged},
    {3, HandOffView::kUpsideDown},
};
inline constexpr int kBlackFile = 4;

// The whole file of one view: headers, then 24-bit rows bottom first. Made in
// file, whose memory serves again for the next view.
void MakeHandOffFile(const ScreenPixels& screen, HandOffView view, std::vector<uint8_t>& file);

// The file of the small black picture.
std::vector<uint8_t> BlackHandOffFile();

}  // namespace tremblix
