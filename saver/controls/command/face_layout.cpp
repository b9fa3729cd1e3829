#include "saver/controls/command/face_layout.h"

#include <cstdint>
#include <limits>

namespace tremblix {
namespace {

bool Fits16(long value) {
  return value >= std::numeric_limits<int16_t>::min() &&
         value <= std::numeric_limits<int16_t>::max();
}

bool Usable(const TwipsRect& r) {
  return Fits16(r.x) && Fits16(r.y) && Fits16(r.width) && Fits16(r.height) &&
         Fits16(static_cast<long>(r.x) + r.width) && Fits16(static_cast<long>(r.y) + r.height) &&
         r.width > 0 && r.height > 0;
}

}  // namespace

std::vector<Slice> FaceSlices(int width, int height) {
  const int c = kCornerSize;
  const int src_mid_w = FaceWidth - 2 * c;   // 840
  const int src_mid_h = FaceHeight - 2 * c;  // 255
  const long w = width, h = height;
  const long mid_w = w - 2 * c, mid_h = h - 2 * c;
  auto rect = [](long x, long y, long rw, long rh) {
    // Out-of-range figures are caught by Usable; the casts only carry them.
    return TwipsRect{static_cast<int>(x), static_cast<int>(y), static_cast<int>(rw),
                     static_cast<int>(rh)};
  };
  const Slice all[] = {
      {{0, 0, c, c}, rect(1, 1, c, c)},                                    // top-left
      {{c, 1, src_mid_w, c}, rect(c, 1, mid_w, c)},                        // top
      {{FaceWidth - c, 1, c, c}, rect(w - c, 1, c, c)},                    // top-right
      {{FaceWidth - c, c, c, src_mid_h}, rect(w - c, c, c, mid_h)},        // right
      {{FaceWidth - c, FaceHeight - c, c, c}, rect(w - c, h - c, c, c)},   // bottom-right
      {{c, FaceHeight - c, src_mid_w, c}, rect(c, h - c, mid_w, c)},       // bottom
      {{0, FaceHeight - c, c, c}, rect(1, h - c, c, c)},                   // bottom-left
      {{1, c, c, src_mid_h}, rect(1, c, c, mid_h)},                        // left
  };
  std::vector<Slice> slices;
  if (!Fits16(w) || !Fits16(h)) return slices;
  for (const Slice& slice : all) {
    if (Usable(slice.dest)) slices.push_back(slice);
  }
  return slices;
}

double CaptionTop(int height, int caption_height) {
  return (static_cast<double>(height) - caption_height - 20) / 2;
}

}  // namespace tremblix
