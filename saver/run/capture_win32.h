// Photographing the primary screen and writing the hand-off pictures.
#pragma once

#include "saver/run/hand_off.h"

namespace tremblix {

// Photographs the primary screen once and writes the four hand-off pictures
// from it. Where the screen cannot be read the pictures are black at its size;
// a file that cannot be written keeps what an earlier run left there.
void PhotographAndWriteHandOffPictures();

// The same from a photograph already made.
void WriteHandOffPictures(const ScreenPixels& screen);

}  // namespace tremblix
