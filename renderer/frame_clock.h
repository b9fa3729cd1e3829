// The renderer's time base: the run's time and the step from the previous
// frame, from a high-resolution counter.
#pragma once

#include <cstdint>

namespace tremblix {

struct FrameClock {
  // A step longer than this is no frame but a gap: the machine slept or
  // stalled, or the display was off. A machine that draws even two frames a
  // second stays below it and keeps its motion; a gap leaves the run's time
  // and counts as one frame, so the ball goes on from where it was.
  static constexpr double kGapSeconds = 0.5;

  int64_t frequency = 1;   // counts per second
  int64_t start = 0;       // count at start, moved on past every gap
  int64_t last = 0;        // count at the current frame, or at the start before one
  int64_t frameCounts = 1; // one frame of the pace
  float seconds = 0;       // the run's time at the current frame
  float frameSeconds = 0;  // the step the animation takes: never more than one frame

  // Moves the clock to the frame at count now.
  void Tick(int64_t now);

  // The run's time modulo a period, in seconds. Counted in whole counts, it
  // is as exact after a month as in the first minute, where a float of
  // seconds would move in steps of milliseconds.
  double SecondsModulo(long double period) const;
};

}  // namespace tremblix
