#include "renderer/screen_layout.h"

#include <gtest/gtest.h>

namespace tremblix {
namespace {

std::vector<ScreenRect> Rects(const ScreenLayout& layout) {
  std::vector<ScreenRect> rects;
  for (const SceneView& v : layout.views) rects.push_back(v.monitor);
  return rects;
}

TEST(NumberMonitors, PrimaryFirstThenByLeftEdgeThenByTopEdge) {
  // The primary in the middle and listed last; two monitors share a left edge.
  EXPECT_EQ(NumberMonitors({{{1920, 600, 3200, 1624}, false},
                            {{-1600, 180, 0, 1080}, false},
                            {{1920, -424, 3200, 600}, false},
                            {{0, 0, 1920, 1080}, true}}),
            (std::vector<ScreenRect>{{0, 0, 1920, 1080},
                                     {-1600, 180, 0, 1080},
                                     {1920, -424, 3200, 600},
                                     {1920, 600, 3200, 1624}}));
}

TEST(NumberMonitors, ClonesCountOnceAndMonitorsInsideAnotherGetNone) {
  // A cloned pair (either may carry the primary's mark) and a small monitor
  // inside the second: two scenes.
  EXPECT_EQ(NumberMonitors({{{1280, 0, 2560, 1024}, false},
                            {{0, 0, 1280, 1024}, false},
                            {{0, 0, 1280, 1024}, true},
                            {{1300, 100, 2100, 700}, false}}),
            (std::vector<ScreenRect>{{0, 0, 1280, 1024}, {1280, 0, 2560, 1024}}));
  // Two heads at the origin, the primary the smaller: one monitor, the outer.
  EXPECT_EQ(NumberMonitors({{{0, 0, 1024, 768}, true}, {{0, 0, 1280, 1024}, false}}),
            (std::vector<ScreenRect>{{0, 0, 1280, 1024}}));
  // Overlapping without one inside the other: both.
  EXPECT_EQ(NumberMonitors({{{0, 0, 1280, 1024}, true}, {{1000, 0, 2280, 1024}, false}}).size(),
            2u);
}

TEST(NumberMonitors, NoMarkTakesTheFirstAndNothingIsTheOldFixedScreen) {
  EXPECT_EQ(NumberMonitors({{{800, 0, 1824, 768}, false}, {{0, 0, 800, 600}, false}}).front(),
            (ScreenRect{800, 0, 1824, 768}));
  EXPECT_EQ(NumberMonitors({}), (std::vector<ScreenRect>{{0, 0, 1024, 768}}));
  EXPECT_EQ(NumberMonitors({{{0, 0, 640, 0}, true}}), (std::vector<ScreenRect>{{0, 0, 1024, 768}}));
}

TEST(LayOutScreen, EachMonitorItsViewportCountedFromTheWindowsBottom) {
  // Primary 1280 x 1024 at the origin, a taller 1920 x 1200 to its right and
  // a 1600 x 900 one wholly left of the primary.
  const ScreenLayout layout = LayOutScreen({{{0, 0, 1280, 1024}, true},
                                            {{1280, 0, 3200, 1200}, false},
                                            {{-1600, 300, 0, 1200}, false}});
  EXPECT_EQ(layout.window, (ScreenRect{-1600, 0, 3200, 1200}));
  ASSERT_EQ(layout.views.size(), 3u);
  EXPECT_EQ(layout.views[0].viewport, (Viewport{1600, 176, 1280, 1024}));
  EXPECT_EQ(layout.views[1].monitor, (ScreenRect{-1600, 300, 0, 1200}));
  EXPECT_EQ(layout.views[1].viewport, (Viewport{0, 0, 1600, 900}));
  EXPECT_EQ(layout.views[2].viewport, (Viewport{2880, 0, 1920, 1200}));
  for (const SceneView& v : layout.views) EXPECT_EQ(v.picture_set, 1) << "no file: the primary's";
}

TEST(LayOutScreen, TheFileGivesASetOnlyToTheMonitorOfItsRectangle) {
  const std::vector<Monitor> desk = {{{0, 0, 1600, 1200}, true},
                                     {{1600, 0, 3200, 1200}, false},
                                     {{-1024, 0, 0, 768}, false}};
  MonitorsFile file;
  file.sets = {{1, {0, 0, 1600, 1200}}, {2, {-1024, 0, 0, 768}}, {3, {1600, 0, 3000, 1050}}};
  const ScreenLayout layout = LayOutScreen(desk, file);
  ASSERT_EQ(layout.views.size(), 3u);
  EXPECT_EQ(layout.views[0].picture_set, 1);
  EXPECT_EQ(layout.views[1].picture_set, 2);
  // The right monitor changed size since its set was taken.
  EXPECT_EQ(layout.views[2].picture_set, 1);

  file.all_monitors = false;
  const ScreenLayout alone = LayOutScreen(desk, file);
  EXPECT_EQ(Rects(alone), (std::vector<ScreenRect>{{0, 0, 1600, 1200}}));
  EXPECT_EQ(alone.window, (ScreenRect{-1024, 0, 3200, 1200})) << "still covers every monitor";
}

TEST(LayOutScreen, MonitorsInsideTheOuterOneAreCoveredByItsScene) {
  const ScreenLayout layout =
      LayOutScreen({{{0, 0, 1024, 768}, true}, {{0, 0, 1280, 1024}, false}});
  EXPECT_EQ(layout.window, (ScreenRect{0, 0, 1280, 1024}));
  ASSERT_EQ(layout.views.size(), 1u);
  EXPECT_EQ(layout.views[0].viewport, (Viewport{0, 0, 1280, 1024}));
}

TEST(VerticalFieldOf, LandscapeKeepsTheFieldPortraitMakesItTheHorizontalOne) {
  EXPECT_DOUBLE_EQ(VerticalFieldOf({0, 0, 1920, 1080}, 55), 55);
  EXPECT_DOUBLE_EQ(VerticalFieldOf({0, 0, 1024, 1024}, 55), 55);
  // 1080 x 1920: tan(v / 2) = tan(27.5 deg) * 1920 / 1080.
  const double v = VerticalFieldOf({0, 0, 1080, 1920}, 55);
  EXPECT_NEAR(v, 85.5656, 1e-4);
  const double horizontal =
      2 * std::atan(std::tan(v / 2 * M_PI / 180) * 1080 / 1920) * 180 / M_PI;
  EXPECT_NEAR(horizontal, 55, 1e-9);
}

TEST(MonitorsFile, RoundTripsAndRejectsWhatItDidNotWrite) {
  MonitorsFile file;
  file.all_monitors = false;
  file.sets = {{1, {0, 0, 1600, 1200}}, {2, {-1600, -10, 0, 1190}}};
  const std::string text = FormatMonitorsFile(file);
  EXPECT_EQ(text, "primary\r\n1 0 0 1600 1200\r\n2 -1600 -10 0 1190\r\n");
  const std::optional<MonitorsFile> back = ParseMonitorsFile(text);
  ASSERT_TRUE(back);
  EXPECT_FALSE(back->all_monitors);
  EXPECT_EQ(back->sets, file.sets);
  EXPECT_TRUE(ParseMonitorsFile("all\n2 1600 0 3200 1200"));
  EXPECT_TRUE(ParseMonitorsFile("all"));

  for (const char* bad : {"", "every\r\n", "all\r\n2 1600 0 3200\r\n", "all\r\n2 1600 0 3200 1200 9\r\n",
                          "all\r\n0 0 0 10 10\r\n", "all\r\n17 0 0 10 10\r\n",
                          "all\r\n2 0 0 0 10\r\n", "all\r\n2 5 0 10 10\r\n2 9 0 20 10\r\n",
                          "all\r\n2  0 0 10 10\r\n", "all\r\n\r\n2 0 0 10 10\r\n",
                          "all\r\n2 0 0 99999999999 10\r\n"}) {
    EXPECT_FALSE(ParseMonitorsFile(bad)) << bad;
  }
}

}  // namespace
}  // namespace tremblix
