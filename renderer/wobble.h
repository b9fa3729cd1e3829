// The bounce and the squash and stretch of the ball, as plain arithmetic so
// that a sequence of frames can be replayed without a window.
#pragma once

namespace tremblix {

struct WobbleState {
  double squashSpeed = 0;  // change of the vertical scale, per second
  double scaleY = 0.85;    // the ball is a unit sphere; 0.85 is its rest scale
  double scaleXZ = 0.85;   // flattening widens the ball by as much
};

// The ball lands every pi seconds: the bounce needs the run's time only
// modulo this.
inline constexpr long double kBouncePeriod = 3.141592653589793238462643383279502884L;

// Advances the state by one frame at time t (seconds since start, or the same
// modulo kBouncePeriod) that took dt seconds, and returns the height of the
// ball's centre above the floor. The spring runs once per frame and is not
// scaled by dt.
double StepWobble(WobbleState& state, double t, double dt);

}  // namespace tremblix
