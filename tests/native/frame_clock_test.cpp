#include "renderer/frame_clock.h"

#include <gtest/gtest.h>

#include "renderer/wobble.h"

namespace tremblix {
namespace {

constexpr int64_t kFrequency = 10'000'000;
constexpr int64_t kFrame = 166'667;  // 1/60 s

FrameClock ClockAt(int64_t start, int64_t last) {
  FrameClock clock;
  clock.frequency = kFrequency;
  clock.frameCounts = kFrame;
  clock.start = start;
  clock.last = last;
  return clock;
}

TEST(FrameClock, CountsTheRunsTimeAndTheStepBetweenFrames) {
  FrameClock clock = ClockAt(5'000'000'000, 5'000'000'000);
  EXPECT_EQ(clock.seconds, 0);

  clock.Tick(5'002'500'000);  // the first frame after 0.25 s of set-up
  EXPECT_FLOAT_EQ(clock.seconds, 0.25f);
  EXPECT_NEAR(clock.frameSeconds, 1 / 60.0, 1e-7) << "the squash took the whole set-up";

  clock.Tick(5'002'666'667);
  EXPECT_NEAR(clock.seconds, 0.2666667f, 1e-7);
  EXPECT_NEAR(clock.frameSeconds, 0.0166667f, 1e-7);

  clock.Tick(5'002'766'667);  // a frame sooner than the pace takes its own time
  EXPECT_NEAR(clock.frameSeconds, 0.01f, 1e-7);
}

TEST(FrameClock, AGapOfHoursIsOneFrame) {
  FrameClock clock = ClockAt(0, 20'000'000 - kFrame);
  clock.Tick(20'000'000);  // 2 s in
  const int64_t back = 20'000'000 + 3LL * 3600 * kFrequency;  // asleep for three hours
  clock.Tick(back);
  EXPECT_NEAR(clock.frameSeconds, 1 / 60.0, 1e-6);
  EXPECT_NEAR(clock.seconds, 2 + 1 / 60.0, 1e-6);
  clock.Tick(back + kFrame);  // and on from there as before
  EXPECT_NEAR(clock.frameSeconds, 1 / 60.0, 1e-6);
  EXPECT_NEAR(clock.seconds, 2 + 2 / 60.0, 1e-6);
}

TEST(FrameClock, AStepJustBelowTheGapKeepsItsTimeOneJustAboveDoesNot) {
  const int64_t gap = static_cast<int64_t>(FrameClock::kGapSeconds * kFrequency);

  // A slow machine drawing two frames a second: the ball still moves at its
  // speed, while the squash takes one frame a step.
  FrameClock slow = ClockAt(0, 10 * kFrequency);
  slow.Tick(10 * kFrequency + gap - 1000);
  EXPECT_NEAR(slow.seconds, 10 + FrameClock::kGapSeconds - 0.0001, 1e-6);
  EXPECT_NEAR(slow.frameSeconds, 1 / 60.0, 1e-6);

  FrameClock stalled = ClockAt(0, 10 * kFrequency);
  stalled.Tick(10 * kFrequency + gap + 1000);
  EXPECT_NEAR(stalled.seconds, 10 + 1 / 60.0, 1e-6);
  EXPECT_NEAR(stalled.frameSeconds, 1 / 60.0, 1e-6);
}

// 30 days and 1.2345678 s of display-on time: the turn of 20 degrees a second
// and the bounce's phase, against values worked out to 50 digits. A float of
// seconds would have the phase 15 ms off.
TEST(FrameClock, TheTurnAndTheBounceAreAsExactAfterAMonthAsInTheFirstMinute) {
  struct Moment {
    int64_t counts;
    double turn_degrees, bounce_phase;
  } moments[] = {
      {12'345'678, 24.691356, 1.2345678},
      {(30LL * 86400) * kFrequency + 12'345'678, 24.691356, 1.9413896587804672},
  };
  for (const Moment& m : moments) {
    FrameClock clock = ClockAt(0, m.counts - kFrame);
    clock.Tick(m.counts);
    EXPECT_NEAR(clock.SecondsModulo(18) * 20, m.turn_degrees, 1e-9) << m.counts;
    EXPECT_NEAR(clock.SecondsModulo(kBouncePeriod), m.bounce_phase, 1e-12) << m.counts;
  }
}

}  // namespace
}  // namespace tremblix
