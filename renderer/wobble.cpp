#include "renderer/wobble.h"

#include <cmath>

namespace tremblix {

namespace {
constexpr double kBounceAmplitude = 1.2;
constexpr double kLowestLift = 0.75;
constexpr double kContactThreshold = 0.3;
constexpr double kContactPush = 0.5;
constexpr double kSpeedKeep = 0.98;
constexpr double kRestScale = 0.85;
}  // namespace

double StepWobble(WobbleState& state, double t, double dt) {
  const double a = std::fabs(std::sin(t) * kBounceAmplitude);
  const double lift = a + kLowestLift;
  // Near the floor the ball is pushed flatter, the more the closer it is.
  if (a < kContactThreshold) state.squashSpeed -= (kContactThreshold - a) * kContactPush;
  state.squashSpeed = state.squashSpeed * kSpeedKeep - (state.scaleY - kRestScale);
  state.scaleY += dt * state.squashSpeed;
  state.scaleXZ = kRestScale - state.scaleY + kRestScale;
  return lift;
}

}  // namespace tremblix
