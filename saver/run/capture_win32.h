// Photographing the primary screen and writing the hand-off pictures.
#pragma once

#include "bitmap/bitmap.h"

namespace tremblix {

// The primary screen at 24 bits per pixel, bottom row first; black where the
// screen cannot be read.
BmpImage PhotographScreen();

// Writes the four hand-off pictures. A file that cannot be written keeps what
// an earlier run left there.
void WriteHandOffPictures(const BmpImage& screen);

}  // namespace tremblix
