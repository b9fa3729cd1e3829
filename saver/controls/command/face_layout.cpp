#include "saver/controls/command/face_layout.h"

#include <cstdint>
#include <limits>

#include "saver/common/twips.h"

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

std::vector<PixelSlice> FaceSlicesInPixels(int width, int height, int band) {
  const int c = kCornerSize / kTwipsPerPixel * band;
  const int face_w = FaceWidth / kTwipsPerPixel * band;
  const int face_h = FaceHeight / kTwipsPerPixel * band;
  const int mid_w = width - 2 * c, mid_h = height - 2 * c;
  const PixelSlice all[] = {
      {{0, 0, c, c}, {0, 0, c, c}},                                          // top-left
      {{c, 0, face_w - 2 * c, c}, {c, 0, mid_w, c}},                         // top
      {{face_w - c, 0, c, c}, {width - c, 0, c, c}},                         // top-right
      {{face_w - c, c, c, face_h - 2 * c}, {width - c, c, c, mid_h}},        // right
      {{face_w - c, face_h - c, c, c}, {width - c, height - c, c, c}},       // bottom-right
      {{c, face_h - c, face_w - 2 * c, c}, {c, height - c, mid_w, c}},       // bottom
      {{0, face_h - c, c, c}, {0, height - c, c, c}},                        // bottom-left
      {{0, c, c, face_h - 2 * c}, {0, c, c, mid_h}},                         // left
  };
  std::vector<PixelSlice> slices;
  for (const PixelSlice& slice : all) {
    if (slice.dest.width > 0 && slice.dest.height > 0) slices.push_back(slice);
  }
  return slices;
}

double CaptionTop(int height, int caption_height) {
  return (static_cast<double>(height) - caption_height - 20) / 2;
}

}  // namespace tremblix
