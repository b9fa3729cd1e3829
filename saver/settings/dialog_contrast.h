// The settings dialog in Windows' high contrast: which of the scheme's
// colours each part takes, where it would otherwise show bands, pictures
// and colours of its own.
#pragma once

#include "saver/controls/command/face_contrast.h"

namespace tremblix {

enum class DialogPart {
  kSurface,       // the dialog's and the panel's background, for the bands
  kText,          // every label's letters
  kLink,          // the home-page label's letters
  kHeadingFrame,  // Shape3
};

SystemColour ContrastColourOf(DialogPart part);

// Pixel (x, y) of a choice mark drawn with band-pixel lines, as its picture
// lays it out: a frame in the text's colour around a field, filled with the
// text's colour when the choice is made.
SystemColour ContrastMarkPixel(bool filled, int x, int y, int band);

}  // namespace tremblix
