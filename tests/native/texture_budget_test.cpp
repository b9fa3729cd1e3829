#include "renderer/texture_budget.h"

#include <gtest/gtest.h>

#include "renderer/mipmaps.h"

namespace tremblix {
namespace {

TEST(ChainBytes, WhatTheBuiltChainHolds) {
  const struct {
    int32_t width, height, largest;
  } rows[] = {{93, 85, 16384}, {300, 40, 128}, {5, 3, 2}};
  for (const auto& r : rows) {
    uint64_t held = 0;
    for (const BmpImage& level : BuildMipmaps(BlackBmp(r.width, r.height), r.largest)) {
      held += level.pixels.size();
    }
    EXPECT_EQ(ChainBytes({r.width, r.height}, r.largest), held) << r.width << " x " << r.height;
  }
}

// What each monitor's pictures are built within, the primary 8K, a second
// 4K monitor right of it (its set in the saver's file, or none).
TEST(PlanPictures, EveryMonitorsPicturesWithinTheBudget) {
  constexpr int32_t k = 16384;
  const ScreenRect eight_k{0, 0, 7680, 4320}, four_k{7680, 0, 11520, 2160};
  const auto layout = [&](ScreenRect primary, ScreenRect second, bool second_has_a_set) {
    std::vector<Monitor> monitors = {{primary, true}};
    MonitorsFile file;
    file.sets = {{1, primary}};
    if (second.Width()) monitors.push_back({second, false});
    if (second_has_a_set) file.sets.push_back({2, second});
    return LayOutScreen(monitors, file);
  };
  const auto sides = [](const std::vector<PlannedPicture>& plan) {
    std::vector<int32_t> largest;
    for (const PlannedPicture& p : plan) largest.push_back(p.largest);
    return largest;
  };
  const struct {
    ScreenLayout layout;
    uint64_t budget;
    std::vector<int32_t> largest;  // surface, floor, shine, mirrored; the second's
  } rows[] = {
      // 480 MiB: the 32-bit edition halves the 8K chains, mirrored first
      // (8192 x 4096 to 4096 x 4096), then the second monitor's.
      {layout(eight_k, four_k, true), kTextureBudget32, {128, 4096, 4096, 4096, 2048, 2048, 2048}},
      {layout(eight_k, four_k, true), kTextureBudget64, {128, k, k, k, k, k, k}},
      {layout(eight_k, four_k, false), kTextureBudget32, {128, 4096, 4096, 4096}},
      {layout(eight_k, {}, false), kTextureBudget32, {128, 4096, 4096, 4096}},
      // The floor, the largest on the screen, gives up last.
      {layout(eight_k, {}, false), 300ull << 20, {128, k, 4096, 4096}},
      {layout({0, 0, 3840, 2160}, {3840, 0, 7680, 2160}, true), kTextureBudget32,
       {128, k, k, k, k, k, k}},
      {layout(eight_k, {7680, 0, 15360, 4320}, true), kTextureBudget64, {128, k, k, k, k, k, k}},
      {layout(eight_k, four_k, true), 0, {128, 1, 1, 1, 1, 1, 1}},
      {layout({0, 0, 0, 0}, {}, false), kTextureBudget32, {128, k, k, k}},
  };
  for (size_t i = 0; i < std::size(rows); ++i) {
    const std::vector<PlannedPicture> plan = PlanPictures(rows[i].layout, rows[i].budget, k);
    EXPECT_EQ(sides(plan), rows[i].largest) << "row " << i;
    uint64_t total = 0;
    for (size_t p = 1; p < plan.size(); ++p) {
      const ScreenRect& m = rows[i].layout.views[plan[p].set - 1].monitor;
      total += ChainBytes({m.Width(), m.Height()}, plan[p].largest);
    }
    if (rows[i].budget) EXPECT_LE(total, rows[i].budget) << "row " << i;
  }
  // Which picture each is; the second monitor without a set of its own shows
  // the primary's.
  EXPECT_EQ(PlanPictures(layout(eight_k, four_k, true), kTextureBudget32, k),
            (std::vector<PlannedPicture>{{1, 4, 128}, {1, 1, 4096}, {1, 2, 4096}, {1, 3, 4096},
                                         {2, 1, 2048}, {2, 2, 2048}, {2, 3, 2048}}));
  // Of equal sides the one listed last gives up first.
  EXPECT_EQ(LargestSidesWithin({{2048, 2048}, {2048, 2048}},
                               ChainBytes({2048, 2048}, k) + ChainBytes({1024, 1024}, k), k),
            (std::vector<int32_t>{k, 1024}));
}

}  // namespace
}  // namespace tremblix
