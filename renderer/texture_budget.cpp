#include "renderer/texture_budget.h"

#include <algorithm>

#include "bitmap/bitmap.h"
#include "renderer/mipmaps.h"

namespace tremblix {

namespace {

// Level 0's sides, as BuildMipmaps sizes them.
int32_t SideOf(int32_t size, int32_t largest) {
  return std::max(std::min(NearestPowerOfTwo(size), largest), 1);
}

int32_t LongestSide(PictureSize picture, int32_t largest) {
  return std::max(SideOf(picture.width, largest), SideOf(picture.height, largest));
}

}  // namespace

uint64_t ChainBytes(PictureSize picture, int32_t largest) {
  int32_t width = SideOf(picture.width, largest), height = SideOf(picture.height, largest);
  uint64_t bytes = 0;
  for (;;) {
    bytes += BmpRowBytes(width, 24) * static_cast<uint64_t>(height);
    if (width == 1 && height == 1) return bytes;
    width = std::max(width / 2, 1);
    height = std::max(height / 2, 1);
  }
}

std::vector<int32_t> LargestSidesWithin(const std::vector<PictureSize>& pictures, uint64_t budget,
                                        int32_t largest) {
  std::vector<int32_t> sides(pictures.size(), std::max(largest, 1));
  std::vector<uint64_t> bytes(pictures.size());
  uint64_t total = 0;
  for (size_t i = 0; i < pictures.size(); ++i) total += bytes[i] = ChainBytes(pictures[i], sides[i]);
  while (total > budget) {
    size_t widest = pictures.size();
    int32_t longest = 1;
    for (size_t i = 0; i < pictures.size(); ++i) {
      const int32_t side = LongestSide(pictures[i], sides[i]);
      if (side >= longest && side > 1) widest = i, longest = side;
    }
    if (widest == pictures.size()) break;  // every chain is down to 1 x 1
    sides[widest] = longest / 2;
    total -= bytes[widest];
    total += bytes[widest] = ChainBytes(pictures[widest], sides[widest]);
  }
  return sides;
}

std::vector<PlannedPicture> PlanPictures(const ScreenLayout& layout, uint64_t budget,
                                         int32_t largest) {
  std::vector<PlannedPicture> planned = {{1, 4, std::min(kSurfaceLargest, largest)}};
  std::vector<PictureSize> sizes;
  for (const SceneView& view : layout.views) {
    const bool known = std::any_of(planned.begin() + 1, planned.end(),
                                   [&](const PlannedPicture& p) { return p.set == view.picture_set; });
    if (known) continue;
    for (int number : {1, 2, 3}) {
      planned.push_back({view.picture_set, number, 0});
      sizes.push_back({view.monitor.Width(), view.monitor.Height()});
    }
  }
  const std::vector<int32_t> sides = LargestSidesWithin(sizes, budget, largest);
  for (size_t i = 0; i < sides.size(); ++i) planned[i + 1].largest = sides[i];
  return planned;
}

}  // namespace tremblix
