// The mipmap chain of a picture, as the texture loader uploads it: the picture
// scaled to the nearest powers of two, then halved level by level to 1 x 1.
// Built here rather than by the GLU builder, which takes about twice as long
// on screen-sized pictures and delays the first frame by as much.
#pragma once

#include <cstdint>
#include <vector>

#include "bitmap/bitmap.h"

namespace tremblix {

// The power of two nearest to a size: up from one and a half times a power.
int32_t NearestPowerOfTwo(int32_t size);

// Level 0 has the nearest power-of-two size of the picture, no side above
// largest; each further level halves both sides (a side of 1 stays 1).
// Given the picture by value, so that a caller done with it can move it in.
std::vector<BmpImage> BuildMipmaps(BmpImage picture, int32_t largest);

}  // namespace tremblix
