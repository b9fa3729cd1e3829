#include "renderer/frame_pace.h"

#include <gtest/gtest.h>

#include <cmath>

#include "saver/common/power.h"

namespace tremblix {
namespace {

TEST(PaceForRefresh, UnknownRateIsSixtyHertz) {
  for (int reported : {0, 1}) {
    const FramePace pace = PaceForRefresh(reported);
    EXPECT_EQ(pace.refreshRate, 60) << reported;
    EXPECT_EQ(pace.refreshesPerFrame, 1) << reported;
    EXPECT_DOUBLE_EQ(pace.FrameSeconds(), 1.0 / 60) << reported;
  }
}

TEST(PaceForRefresh, EveryRefreshUpToAHundredHertz) {
  for (int rate : {30, 50, 59, 60, 75, 85, 100}) {
    const FramePace pace = PaceForRefresh(rate);
    EXPECT_EQ(pace.refreshesPerFrame, 1) << rate;
    EXPECT_DOUBLE_EQ(pace.FramesPerSecond(), rate) << rate;
  }
}

TEST(PaceForRefresh, FasterDisplaysSkipRefreshesToStayAtOrBelowAHundred) {
  struct Case { int rate, n; double fps; };
  for (const Case& c : {Case{101, 2, 50.5}, Case{120, 2, 60}, Case{144, 2, 72},
                        Case{165, 2, 82.5}, Case{200, 2, 100}, Case{240, 3, 80},
                        Case{360, 4, 90}, Case{500, 5, 100}}) {
    const FramePace pace = PaceForRefresh(c.rate);
    EXPECT_EQ(pace.refreshesPerFrame, c.n) << c.rate;
    EXPECT_DOUBLE_EQ(pace.FramesPerSecond(), c.fps) << c.rate;
    EXPECT_DOUBLE_EQ(pace.FrameSeconds(), c.n / static_cast<double>(c.rate)) << c.rate;
  }
}

// Counter of 10 MHz, 60 frames a second: 166 666.67 counts a frame.
constexpr double kInterval = 10'000'000.0 / 60;

TEST(FrameGrid, OnTimeFramesFollowTheGridWithoutDrift) {
  FrameGrid grid;
  grid.Start(1'000'000, kInterval);
  EXPECT_EQ(grid.Due(), 1'000'000);
  int64_t now = 1'000'000;
  for (int k = 1; k <= 600; ++k) {
    grid.FrameBegun(now + 40);  // each frame begins a little after its time
    now = grid.Due();
  }
  // Ten seconds of frames later, exactly ten seconds on.
  EXPECT_EQ(grid.Due(), 1'000'000 + 100'000'000);
}

TEST(FrameGrid, DueIsNeverBeforeTheGridTime) {
  FrameGrid grid;
  grid.Start(0, kInterval);
  grid.FrameBegun(0);
  EXPECT_EQ(grid.Due(), 166'667);  // 166 666.67 rounded up
}

TEST(FrameGrid, LateFrameIsFollowedByTheNextGridTimeNotABurst) {
  FrameGrid grid;
  grid.Start(0, kInterval);
  grid.FrameBegun(0);
  // The frame due at 1/60 s begins 2.5 frames late.
  grid.FrameBegun(static_cast<int64_t>(3.5 * kInterval));
  EXPECT_EQ(grid.Due(), static_cast<int64_t>(std::ceil(4 * kInterval)));
  // Beginning exactly on a grid time, the next is the one after it.
  grid.FrameBegun(static_cast<int64_t>(std::ceil(4 * kInterval)));
  EXPECT_EQ(grid.Due(), static_cast<int64_t>(std::ceil(5 * kInterval)));
}

TEST(FrameGrid, EarlyFrameStillMovesOnByOne) {
  // Where the driver holds the pace, a frame may begin before its grid time.
  FrameGrid grid;
  grid.Start(0, kInterval);
  grid.FrameBegun(0);
  grid.FrameBegun(100'000);  // before 166 667
  EXPECT_EQ(grid.Due(), static_cast<int64_t>(std::ceil(2 * kInterval)));
}

TEST(FrameGrid, AfterMinutesOffTheNextFrameIsOneGridTimeAway) {
  FrameGrid grid;
  grid.Start(0, kInterval);
  grid.FrameBegun(0);
  const int64_t back = 300LL * 10'000'000 + 12'345;  // five minutes later
  grid.FrameBegun(back);
  EXPECT_GT(grid.Due(), back);
  EXPECT_LE(grid.Due() - back, static_cast<int64_t>(kInterval) + 1);
}

TEST(SwapWatch, FramesAtThePaceAreNotSooner) {
  SwapWatch watch(kInterval);
  int64_t t = 0;
  for (int k = 0; k < 200; ++k) {
    // A driver that holds: one refresh apart, give or take a millisecond.
    t += static_cast<int64_t>(kInterval) + (k % 2 ? 10'000 : -10'000);
    watch.FrameShown(t);
  }
  EXPECT_FALSE(watch.FramesComeSooner());
}

TEST(SwapWatch, AFewQueuedFramesAreNotSooner) {
  // A driver that queues frames lets the first few through at once.
  SwapWatch watch(kInterval);
  int64_t t = 0;
  for (int k = 0; k < 3; ++k) watch.FrameShown(t += 1'000);
  for (int k = 0; k < 200; ++k) watch.FrameShown(t += static_cast<int64_t>(kInterval) + 1);
  EXPECT_FALSE(watch.FramesComeSooner());
}

TEST(SwapWatch, FramesFasterThanThePaceAreSeenAndStaySeen) {
  SwapWatch watch(kInterval);
  int64_t t = 0;
  // 64 frames a second: a little faster than 60 is enough.
  for (int k = 0; k < 20; ++k) watch.FrameShown(t += 10'000'000 / 64);
  EXPECT_TRUE(watch.FramesComeSooner());
  for (int k = 0; k < 50; ++k) watch.FrameShown(t += 10'000'000 / 30);
  EXPECT_TRUE(watch.FramesComeSooner());
}

TEST(DisplayIsOn, OffOnlyAtZeroDimmedCountsAsOn) {
  EXPECT_FALSE(DisplayIsOn(0));
  EXPECT_TRUE(DisplayIsOn(1));
  EXPECT_TRUE(DisplayIsOn(2));
}

}  // namespace
}  // namespace tremblix
