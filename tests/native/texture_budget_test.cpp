#include "renderer/texture_budget.h"

#include <gtest/gtest.h>

#include <sstream>

#include "renderer/mipmaps.h"

namespace tremblix {
namespace {

TEST(ChainBytes, WhatTheBuiltChainHolds) {
  for (const PictureSize p : {PictureSize{93, 85}, PictureSize{300, 40}, PictureSize{5, 3}}) {
    uint64_t held = 0;
    for (const BmpImage& level : BuildMipmaps(BlackBmp(p.width, p.height), 64)) held += level.pixels.size();
    EXPECT_EQ(ChainBytes(p, 64), held) << p.width << " x " << p.height;
  }
}

// Each picture as "set.number", with "=side" where a side limit bites, for a
// primary and a second monitor right of it, named by the saver's file or not.
std::string Plan(ScreenRect primary, ScreenRect second, bool second_set, uint64_t budget) {
  MonitorsFile file{true, {{1, primary}}};
  if (second_set) file.sets.push_back({2, second});
  const ScreenLayout layout = LayOutScreen({{primary, true}, {second, false}}, file);
  std::ostringstream text;
  for (const PlannedPicture& p : PlanPictures(layout, budget, 16384)) {
    text << (p.number == 4 ? "" : " ") << p.set << "." << p.number;
    if (p.largest != 16384) text << "=" << p.largest;
  }
  return text.str();
}

TEST(PlanPictures, EveryMonitorsPicturesWithinTheBudget) {
  const ScreenRect k8{0, 0, 7680, 4320}, k4{7680, 0, 11520, 2160}, none;
  // 480 MiB: the 32-bit edition halves the 8K chains (8192 x 4096 to
  // 4096 x 4096), the mirrored first, then the second monitor's.
  EXPECT_EQ(Plan(k8, k4, true, kTextureBudget32),
            "1.4=128 1.1=4096 1.2=4096 1.3=4096 2.1=2048 2.2=2048 2.3=2048");
  EXPECT_EQ(Plan(k8, k4, true, kTextureBudget64), "1.4=128 1.1 1.2 1.3 2.1 2.2 2.3");
  EXPECT_EQ(Plan(k8, k4, false, kTextureBudget32), "1.4=128 1.1=4096 1.2=4096 1.3=4096");
  // The floor, the largest on the screen, gives up last.
  EXPECT_EQ(Plan(k8, none, false, 300ull << 20), "1.4=128 1.1 1.2=4096 1.3=4096");
  EXPECT_EQ(Plan({0, 0, 3840, 2160}, {3840, 0, 7680, 2160}, true, kTextureBudget32),
            "1.4=128 1.1 1.2 1.3 2.1 2.2 2.3");
  EXPECT_EQ(Plan(k8, k4, true, 0), "1.4=128 1.1=1 1.2=1 1.3=1 2.1=1 2.2=1 2.3=1");
  EXPECT_EQ(Plan(none, none, false, kTextureBudget32), "1.4=128 1.1 1.2 1.3");
}

}  // namespace
}  // namespace tremblix
