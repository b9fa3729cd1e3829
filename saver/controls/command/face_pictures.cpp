#include "saver/controls/command/face_pictures.h"

#include <algorithm>
#include <cmath>

#include "bitmap/bitmap.h"

namespace tremblix {
namespace {

constexpr Rgb kBackdrop{236, 233, 216};
constexpr Rgb kOutline{0, 60, 116};
constexpr Rgb kDisabledOutline{201, 199, 186};
constexpr Rgb kDisabledFace{245, 244, 234};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kShadow{214, 208, 197};
constexpr Rgb kSoftShadow{226, 223, 214};
constexpr Rgb kOrangeTop{255, 240, 207}, kOrangeBottom{229, 151, 0};
constexpr Rgb kBlueTop{206, 231, 255}, kBlueBottom{105, 130, 238};
constexpr Rgb kPressedDark{209, 204, 193}, kPressedMid{226, 222, 205};
constexpr Rgb kPressedLight{244, 243, 238};

Rgb Mix(Rgb a, Rgb b, double t) {
  auto channel = [t](uint8_t x, uint8_t y) {
    return static_cast<uint8_t>(std::lround(x + (y - x) * t));
  };
  return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}

enum class Side { Top, Bottom, Left, Right };

// How far in a pixel lies from the picture's edge, and on which side.
struct Place {
  int depth;
  Side side;
};

Place PlaceOf(int x, int y) {
  const int right = kFacePixelWidth - 1 - x, bottom = kFacePixelHeight - 1 - y;
  const int depth = std::min({x, y, right, bottom});
  Side side = y == depth        ? Side::Top
              : bottom == depth ? Side::Bottom
              : x == depth      ? Side::Left
                                : Side::Right;
  return {depth, side};
}

// A ring colour running from top to bottom of the picture.
Rgb Ramp(Rgb top, Rgb bottom, int y) {
  return Mix(top, bottom, static_cast<double>(y - 1) / (kFacePixelHeight - 3));
}

// The inside of the frame, from the ring inwards (depth counted from the
// outline).
Rgb Inner(Face face, int depth, Side side, int y) {
  switch (face) {
    case Face::Normal:
      // White highlight at the top and left, grey shadow at the bottom.
      if (side == Side::Top || side == Side::Left) return kWhite;
      if (side == Side::Bottom) {
        return depth == 1 ? kShadow : depth == 2 ? kSoftShadow : Mix(kWhite, kSoftShadow, 0.5);
      }
      return depth == 1 ? kSoftShadow : kWhite;
    case Face::HighLight:
    case Face::HighLightSelect:
      return depth <= 2 ? Ramp(kOrangeTop, kOrangeBottom, y) : kWhite;
    case Face::Selected:
      return depth <= 2 ? Ramp(kBlueTop, kBlueBottom, y) : kWhite;
    case Face::Pressed:
      if (side == Side::Top) return depth == 1 ? kPressedDark : kPressedMid;
      if (side == Side::Left) return kPressedMid;
      if (side == Side::Bottom) return kWhite;
      return kPressedLight;
    case Face::Disable:
      return kDisabledFace;
  }
  return kWhite;
}

}  // namespace

Rgb FacePixel(Face face, int x, int y) {
  // Pressed and Disable sit one pixel further in, with backdrop around.
  const int inset = face == Face::Pressed || face == Face::Disable ? 1 : 0;
  const Rgb outline = face == Face::Disable ? kDisabledOutline : kOutline;
  const Place place = PlaceOf(x, y);
  if (place.depth < inset) return kBackdrop;
  // The middle is never shown: the button paints its gradient there.
  if (place.depth >= 4) return face == Face::Disable ? kDisabledFace : kWhite;

  // Rounded corners: the corner pixel is backdrop, its two neighbours half
  // outline, the pixel diagonally inside closes the curve.
  const int cx = std::min(x, kFacePixelWidth - 1 - x) - inset;
  const int cy = std::min(y, kFacePixelHeight - 1 - y) - inset;
  if (cx == 0 && cy == 0) return kBackdrop;
  if ((cx == 1 && cy == 0) || (cx == 0 && cy == 1)) return Mix(outline, kBackdrop, 0.5);
  if (cx == 1 && cy == 1) return Mix(outline, kBackdrop, 0.25);

  const int depth = place.depth - inset;
  if (depth == 0) return outline;
  return Inner(face, depth, place.side, y);
}

std::vector<uint8_t> FacePictureBmp(Face face) {
  const BmpImage image = DrawBmp(kFacePixelWidth, kFacePixelHeight,
                                 [face](int x, int y) { return FacePixel(face, x, y); });
  return EncodeBmp(image, kBmp96Dpi);
}

const char* FaceFileName(Face face) {
  switch (face) {
    case Face::Normal: return "normal.bmp";
    case Face::HighLight:
    case Face::HighLightSelect: return "highlight.bmp";
    case Face::Selected: return "selected.bmp";
    case Face::Pressed: return "pressed.bmp";
    case Face::Disable: return "disable.bmp";
  }
  return "";
}

}  // namespace tremblix
