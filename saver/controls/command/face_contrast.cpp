#include "saver/controls/command/face_contrast.h"

#include <algorithm>

namespace tremblix {
namespace {

using C = SystemColour;

struct FaceColours {
  C back, outline;
  bool ring;
  C ring_colour, text;
};

// The pointer over the button lights it as Windows lights a hot item; the
// focus and the press show as a ring, as they do in every scheme.
FaceColours ColoursOf(Face face) {
  switch (face) {
    case Face::Normal:
      return {C::kButtonFace, C::kButtonText, false, C::kButtonText, C::kButtonText};
    case Face::Selected:
      return {C::kButtonFace, C::kButtonText, true, C::kButtonText, C::kButtonText};
    case Face::HighLight:
    case Face::HighLightSelect:
      return {C::kHighlight, C::kButtonText, false, C::kHighlightText, C::kHighlightText};
    case Face::Pressed:
      return {C::kHighlight, C::kButtonText, true, C::kHighlightText, C::kHighlightText};
    case Face::Disable: return {C::kButtonFace, C::kGrayText, false, C::kGrayText, C::kGrayText};
  }
  return ColoursOf(Face::Normal);
}

}  // namespace

SystemColour ContrastFacePixel(Face face, int x, int y, int width, int height, int band) {
  band = std::max(band, 1);
  if (x < 0 || y < 0 || x >= width || y >= height) return C::kButtonFace;
  const FaceColours colours = ColoursOf(face);
  const int from_x = std::min(x, width - 1 - x) / band;
  const int from_y = std::min(y, height - 1 - y) / band;
  if (from_x == 0 && from_y == 0) return C::kButtonFace;  // the corners stand back
  const int edge = std::min(from_x, from_y);
  if (edge == 0) return colours.outline;
  if (colours.ring && (edge == 2 || edge == 3)) return colours.ring_colour;
  return colours.back;
}

SystemColour ContrastCaption(Face face) { return ColoursOf(face).text; }

}  // namespace tremblix
