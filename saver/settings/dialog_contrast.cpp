#include "saver/settings/dialog_contrast.h"

#include <algorithm>

#include "saver/settings/dialog_pictures.h"

namespace tremblix {

SystemColour ContrastColourOf(DialogPart part) {
  switch (part) {
    case DialogPart::kSurface: return SystemColour::kButtonFace;
    case DialogPart::kText: return SystemColour::kButtonText;
    case DialogPart::kLink: return SystemColour::kHotLight;
    case DialogPart::kHeadingFrame: return SystemColour::kButtonText;
  }
  return SystemColour::kButtonText;
}

// Windows draws its own check boxes so: a window-coloured field in a frame.
SystemColour ContrastMarkPixel(bool filled, int x, int y, int band) {
  band = std::max(band, 1);
  const int size = kMarkSize * band;
  if (x < 0 || y < 0 || x >= size || y >= size) return ContrastColourOf(DialogPart::kSurface);
  const int edge = std::min(std::min(x, y), std::min(size - 1 - x, size - 1 - y)) / band;
  if (edge == 0 || (filled && edge >= 2)) return SystemColour::kWindowText;
  return SystemColour::kWindow;
}

}  // namespace tremblix
