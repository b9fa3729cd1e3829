// How large the scene's texture chains may be, every monitor's together. The
// pictures are read and their chains built ahead, all held until each is
// uploaded, and the driver keeps a copy of each: in a 32-bit process, which
// has 2 GiB for everything (4 GiB under 64-bit Windows), an 8K primary alone
// would take over a gigabyte so.
#pragma once

#include <cstdint>
#include <vector>

#include "renderer/screen_layout.h"

namespace tremblix {

// The budget of the chains in bytes. 32-bit: 256 MiB, which the driver's
// copy (up to 4/3 of it, at 4 bytes a pixel) and the two pictures being read
// (8K ones included) bring to at most about 800 MiB, well under half of the
// 2 GiB, leaving the rest to Windows or Wine, the driver's own mappings and
// a heap in pieces; two 3840 x 2160 monitors (192 MiB) fit whole. 64-bit:
// 1 GiB, which no desk of two 8K monitors reaches (768 MiB): there it only
// stops the absurd.
constexpr uint64_t kTextureBudget32 = 256ull << 20;
constexpr uint64_t kTextureBudget64 = 1024ull << 20;
constexpr uint64_t kTextureBudget = sizeof(void*) == 4 ? kTextureBudget32 : kTextureBudget64;

// A picture's size, as its monitor's.
struct PictureSize {
  int32_t width = 0, height = 0;
};

// Bytes of the chain BuildMipmaps makes of such a picture within largest.
uint64_t ChainBytes(PictureSize picture, int32_t largest);

// The largest side of each picture's chain, so that all the chains together
// take at most budget bytes. Each starts at largest; while the total is over,
// the chain with the longest side at level 0 gives up half of it: of equal
// sides, the one listed last, so list the pictures that matter most first. A
// budget too small for 1 x 1 chains leaves them at 1.
std::vector<int32_t> LargestSidesWithin(const std::vector<PictureSize>& pictures, uint64_t budget,
                                        int32_t largest);

// One picture the scene loads: picture number of a monitor's set, and the
// largest side its chain is built within.
struct PlannedPicture {
  int set = 1;
  int number = 1;
  int32_t largest = 0;
  bool operator==(const PlannedPicture& o) const {
    return set == o.set && number == o.number && largest == o.largest;
  }
};

// The small black surface picture (4) is built within this, whatever its file.
constexpr int32_t kSurfaceLargest = 128;

// Every picture the layout's monitors show: the primary's surface picture,
// then each set's floor (1), shine (2) and mirrored shine (3), the primary's
// set first, then the others' as their monitors come. The screen-sized ones,
// each of its monitor's size, share the budget; the floor, the largest on
// the screen, gives up last, and the primary's pictures after the others'.
std::vector<PlannedPicture> PlanPictures(const ScreenLayout& layout, uint64_t budget,
                                         int32_t largest);

}  // namespace tremblix
