#include "renderer/wobble.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace tremblix {
namespace {

constexpr float kPi = 3.14159265358979f;

TEST(StepWobble, TwoLandingFramesFromRest) {
  WobbleState state;
  double lift = StepWobble(state, 0.0f, 1.0f / 60);
  EXPECT_DOUBLE_EQ(lift, 0.75);
  EXPECT_NEAR(state.squashSpeed, -0.147, 1e-12);
  EXPECT_NEAR(state.scaleY, 0.84755, 1e-9);
  EXPECT_NEAR(state.scaleXZ, 0.85245, 1e-9);

  StepWobble(state, 0.0f, 1.0f / 60);
  EXPECT_NEAR(state.squashSpeed, -0.28861, 1e-9);
  EXPECT_NEAR(state.scaleY, 0.842740, 1e-6);
  EXPECT_NEAR(state.scaleXZ, 0.857260, 1e-6);
}

TEST(StepWobble, RestStaysPutAwayFromTheFloor) {
  WobbleState state;
  for (float t : {0.5f, 1.0f, 1.5f, 2.0f, 2.5f}) {  // |sin t| >= 0.25 throughout
    double lift = StepWobble(state, t, 1.0f / 60);
    EXPECT_NEAR(lift, std::fabs(std::sin(double{t}) * 1.2) + 0.75, 1e-12);
    EXPECT_EQ(state.squashSpeed, 0);
    EXPECT_EQ(state.scaleY, 0.85);
    EXPECT_EQ(state.scaleXZ, 0.85);
  }
}

TEST(StepWobble, LandingPushesHardestAtTheLowestPoint) {
  // At a multiple of pi the ball is at its lowest and the push is 0.15.
  for (float t : {kPi, 2 * kPi}) {
    WobbleState state;
    double lift = StepWobble(state, t, 0);
    EXPECT_NEAR(lift, 0.75, 1e-5);
    EXPECT_NEAR(state.squashSpeed, -0.15 * 0.98, 1e-5);
    EXPECT_EQ(state.scaleY, 0.85);  // dt 0 moves nothing
  }
}

// One landing at 60 frames a second, from the top of one bounce to the top of
// the next: the ball is flattest while it touches the floor, and springs back
// up, past its round shape, once it has left it.
TEST(StepWobble, TheBallIsFlattestAtTheFloorAndSpringsBackAfter) {
  WobbleState state;
  const float top = kPi / 2, next_top = 3 * kPi / 2, dt = 1.0f / 60;
  struct Frame {
    float t;
    double lift, scaleY, scaleXZ;
  };
  std::vector<Frame> frames;
  for (int i = 0; top + i * dt < next_top; ++i) {
    float t = top + i * dt;
    double lift = StepWobble(state, t, dt);
    frames.push_back({t, lift, state.scaleY, state.scaleXZ});
  }
  auto by_height_scale = [](const Frame& a, const Frame& b) { return a.scaleY < b.scaleY; };
  auto flattest = std::min_element(frames.begin(), frames.end(), by_height_scale);
  // In contact: the bounce value below 0.3, the centre below 1.05.
  EXPECT_LT(flattest->lift, 0.75 + 0.3) << "flattest at t = " << flattest->t;
  EXPECT_LT(flattest->scaleY, 0.85 - 0.1) << "hardly flattened";
  EXPECT_GT(flattest->scaleXZ, 0.85 + 0.1) << "flattened without widening";
  // Nothing squashes it on the way down.
  for (auto f = frames.begin(); f != frames.end() && f->lift > 0.75 + 0.3; ++f) {
    EXPECT_DOUBLE_EQ(f->scaleY, 0.85) << "at t = " << f->t;
  }
  auto tallest_after = std::max_element(flattest, frames.end(), by_height_scale);
  EXPECT_GT(tallest_after->scaleY, 0.85 + 0.05) << "did not spring back up";
  EXPECT_GT(tallest_after->lift, 0.75 + 0.3) << "sprang back only while still on the floor";
}

TEST(StepWobble, ALongFirstFrameMovesTheScaleInOneStep) {
  WobbleState state;
  StepWobble(state, 0.0f, 0.75f);
  EXPECT_NEAR(state.scaleY, 0.85 + 0.75 * -0.147, 1e-9);
}

TEST(StepWobble, ReplaysTheSameWay) {
  WobbleState a, b;
  for (int frame = 0; frame < 2000; ++frame) {
    float t = frame / 120.0f;
    EXPECT_EQ(StepWobble(a, t, 1 / 120.0f), StepWobble(b, t, 1 / 120.0f));
  }
  EXPECT_EQ(a.scaleY, b.scaleY);
  // The spring keeps the squash within reason over many bounces.
  EXPECT_GT(a.scaleY, 0.5);
  EXPECT_LT(a.scaleY, 1.2);
}

}  // namespace
}  // namespace tremblix
