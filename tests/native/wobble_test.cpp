#include "renderer/wobble.h"

#include <gtest/gtest.h>

#include <cmath>

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

TEST(StepWobble, OnlyTheSpringActsOutsideContact) {
  WobbleState state;
  state.squashSpeed = -0.2;
  state.scaleY = 0.8;
  StepWobble(state, 1.0f, 0.1f);  // a = 1.0098 >= 0.3
  EXPECT_NEAR(state.squashSpeed, -0.2 * 0.98 + 0.05, 1e-12);
  EXPECT_NEAR(state.scaleY, 0.8 + 0.1f * (-0.2 * 0.98 + 0.05), 1e-9);
  EXPECT_NEAR(state.scaleXZ, 0.9 - (state.scaleY - 0.8), 1e-12);
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
