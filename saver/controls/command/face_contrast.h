// The push button in Windows' high contrast: no picture and no colour of its
// own, every pixel in one of the colours the user's scheme gives.
#pragma once

#include "saver/common/system_colour.h"
#include "saver/controls/command/button_state.h"

namespace tremblix {

// Pixel (x, y) of a button of width x height pixels showing face, its
// one-pixel lines band pixels wide: a one-band outline, for the focused and
// the pressed face a two-band ring one band inside it, the face's
// background elsewhere. The corners, and any pixel outside the button, are
// the dialog's surface behind it.
SystemColour ContrastFacePixel(Face face, int x, int y, int width, int height, int band);

// The caption's colour on that face.
SystemColour ContrastCaption(Face face);

}  // namespace tremblix
