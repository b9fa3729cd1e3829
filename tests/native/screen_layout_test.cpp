#include "renderer/screen_layout.h"

#include <gtest/gtest.h>

namespace tremblix {
namespace {

std::vector<ScreenRect> Black(const ScreenLayout& layout) { return layout.black; }

TEST(LayOutScreen, OneScreenIsTheWholeWindowAndTheWholeViewport) {
  const ScreenLayout layout = LayOutScreen({{{0, 0, 1024, 768}, true}});
  EXPECT_EQ(layout.window, (ScreenRect{0, 0, 1024, 768}));
  EXPECT_EQ(layout.viewport, (Viewport{0, 0, 1024, 768}));
  EXPECT_DOUBLE_EQ(AspectOf(layout.viewport), 1024.0 / 768);
  EXPECT_TRUE(layout.black.empty());
}

TEST(LayOutScreen, WideScreenWidensTheAspect) {
  const ScreenLayout layout = LayOutScreen({{{0, 0, 1920, 1080}, true}});
  EXPECT_EQ(layout.window, (ScreenRect{0, 0, 1920, 1080}));
  EXPECT_EQ(layout.viewport, (Viewport{0, 0, 1920, 1080}));
  EXPECT_DOUBLE_EQ(AspectOf(layout.viewport), 1920.0 / 1080);
}

TEST(LayOutScreen, SecondMonitorRightAndTallerLeavesBlackBelowThePrimary) {
  // Primary 1280 x 1024 at the origin, a 1920 x 1200 monitor to its right.
  const ScreenLayout layout =
      LayOutScreen({{{0, 0, 1280, 1024}, true}, {{1280, 0, 3200, 1200}, false}});
  EXPECT_EQ(layout.window, (ScreenRect{0, 0, 3200, 1200}));
  EXPECT_EQ(layout.primary, (ScreenRect{0, 0, 1280, 1024}));
  // OpenGL counts rows from the bottom: the primary sits 176 rows up.
  EXPECT_EQ(layout.viewport, (Viewport{0, 176, 1280, 1024}));
  EXPECT_EQ(Black(layout), (std::vector<ScreenRect>{{0, 1024, 3200, 1200}, {1280, 0, 3200, 1024}}));
}

TEST(LayOutScreen, MonitorsLeftOfAndAboveThePrimaryHaveNegativeCoordinates) {
  // A 1600 x 900 monitor to the left and a 1024 x 768 one above the 1920 x 1080 primary.
  const ScreenLayout layout = LayOutScreen({{{-1600, 180, 0, 1080}, false},
                                            {{448, -768, 1472, 0}, false},
                                            {{0, 0, 1920, 1080}, true}});
  EXPECT_EQ(layout.window, (ScreenRect{-1600, -768, 1920, 1080}));
  EXPECT_EQ(layout.primary, (ScreenRect{1600, 768, 3520, 1848}));
  EXPECT_EQ(layout.viewport, (Viewport{1600, 0, 1920, 1080}));
  EXPECT_DOUBLE_EQ(AspectOf(layout.viewport), 1920.0 / 1080);
  EXPECT_EQ(Black(layout),
            (std::vector<ScreenRect>{{0, 0, 3520, 768}, {0, 768, 1600, 1848}}));
}

TEST(LayOutScreen, PrimaryNeedNotBeFirstAndMixedSizesCentreNothing) {
  // The primary in the middle of three, smaller than both others.
  const ScreenLayout layout = LayOutScreen({{{-2560, -400, 0, 1040}, false},
                                            {{0, 0, 1280, 720}, true},
                                            {{1280, -100, 3200, 980}, false}});
  EXPECT_EQ(layout.window, (ScreenRect{-2560, -400, 3200, 1040}));
  EXPECT_EQ(layout.primary, (ScreenRect{2560, 400, 3840, 1120}));
  EXPECT_EQ(layout.viewport, (Viewport{2560, 320, 1280, 720}));
  EXPECT_EQ(Black(layout), (std::vector<ScreenRect>{{0, 0, 5760, 400},
                                                    {0, 1120, 5760, 1440},
                                                    {0, 400, 2560, 1120},
                                                    {3840, 400, 5760, 1120}}));
}

TEST(LayOutScreen, BlackAndPrimaryCoverTheWindowExactlyOnce) {
  const ScreenLayout layout = LayOutScreen({{{-1600, 180, 0, 1080}, false},
                                            {{0, 0, 1280, 1024}, true},
                                            {{1280, -300, 2304, 468}, false}});
  const int32_t w = layout.window.Width(), h = layout.window.Height();
  std::vector<int> covered(static_cast<size_t>(w) * h, 0);
  auto cover = [&](const ScreenRect& r) {
    for (int32_t y = r.top; y < r.bottom; ++y)
      for (int32_t x = r.left; x < r.right; ++x) ++covered[static_cast<size_t>(y) * w + x];
  };
  cover(layout.primary);
  for (const ScreenRect& r : layout.black) cover(r);
  for (int c : covered) ASSERT_EQ(c, 1);
}

TEST(LayOutScreen, NoPrimaryMarkedTakesTheFirst) {
  const ScreenLayout layout =
      LayOutScreen({{{0, 0, 800, 600}, false}, {{800, 0, 1824, 768}, false}});
  EXPECT_EQ(layout.primary, (ScreenRect{0, 0, 800, 600}));
  EXPECT_EQ(layout.viewport, (Viewport{0, 168, 800, 600}));
}

TEST(LayOutScreen, NoMonitorAtAllIsTheOldFixedScreen) {
  const ScreenLayout layout = LayOutScreen({});
  EXPECT_EQ(layout.window, (ScreenRect{0, 0, 1024, 768}));
  EXPECT_EQ(layout.viewport, (Viewport{0, 0, 1024, 768}));
}

TEST(LayOutScreen, EmptyPrimaryStillGivesAViewportOfOnePixel) {
  const ScreenLayout layout = LayOutScreen({{{0, 0, 640, 0}, true}});
  EXPECT_EQ(layout.viewport, (Viewport{0, 0, 640, 1}));
  EXPECT_DOUBLE_EQ(AspectOf(layout.viewport), 640.0);
}

}  // namespace
}  // namespace tremblix
