#include "renderer/frame_clock.h"

#include <gtest/gtest.h>

namespace tremblix {
namespace {

TEST(FrameClock, CountsSecondsFromStartAndBetweenFrames) {
  FrameClock clock;
  clock.frequency = 10'000'000;
  clock.start = 5'000'000'000;
  EXPECT_EQ(clock.seconds, 0);

  clock.Tick(5'002'500'000);  // first frame after 0.25 s of set-up
  EXPECT_FLOAT_EQ(clock.seconds, 0.25f);
  EXPECT_FLOAT_EQ(clock.frameSeconds, 0.25f);

  clock.Tick(5'002'666'667);
  EXPECT_NEAR(clock.seconds, 0.2666667f, 1e-7);
  EXPECT_NEAR(clock.frameSeconds, 0.0166667f, 1e-7);
}

TEST(FrameClock, FrameTimeComesFromTheUnroundedQuotient) {
  // After an hour a float second has a resolution of about 0.25 ms; a frame
  // time taken from the rounded seconds would be off by as much.
  FrameClock clock;
  clock.frequency = 3'579'545;
  clock.Tick(3'579'545LL * 3600);
  const float before = clock.seconds;
  clock.Tick(3'579'545LL * 3600 + 59'659);  // 1/60 s later
  EXPECT_NEAR(clock.frameSeconds, 59'659.0 / 3'579'545 + (3600.0 - before), 1e-6);
  EXPECT_EQ(clock.seconds, static_cast<float>(3600 + 59'659.0L / 3'579'545));
}

TEST(FrameClock, AfterAPauseTheStepIsOneFrameAndTheTimeGoesOn) {
  FrameClock clock;
  clock.frequency = 10'000'000;
  clock.Tick(20'000'000);  // 2 s in
  // The display was off for five minutes.
  const int64_t back = 20'000'000 + 300LL * 10'000'000;
  clock.SkipPause(back, 166'667);
  clock.Tick(back);
  EXPECT_NEAR(clock.frameSeconds, 0.0166667f, 1e-6);
  EXPECT_NEAR(clock.seconds, 2.0166667f, 1e-6);
  // And on from there as before.
  clock.Tick(back + 166'667);
  EXPECT_NEAR(clock.frameSeconds, 0.0166667f, 1e-6);
  EXPECT_NEAR(clock.seconds, 2.0333333f, 1e-6);
}

TEST(FrameClock, AShortPauseIsLeftAlone) {
  FrameClock clock;
  clock.frequency = 10'000'000;
  clock.Tick(20'000'000);
  clock.SkipPause(20'100'000, 166'667);  // sooner than a frame: nothing to take out
  clock.Tick(20'100'000);
  EXPECT_NEAR(clock.frameSeconds, 0.01f, 1e-7);
}

}  // namespace
}  // namespace tremblix
