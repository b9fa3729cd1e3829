// The renderer's time base: seconds since start and since the previous frame,
// from a high-resolution counter.
#pragma once

#include <cstdint>

namespace tremblix {

struct FrameClock {
  int64_t frequency = 1;  // counts per second
  int64_t start = 0;      // count at start
  float seconds = 0;      // from start to the current frame
  float frameSeconds = 0; // from the previous frame to the current one
  int64_t last = 0;       // count at the current frame, or at the start before one

  // Moves the clock to the frame at count now.
  void Tick(int64_t now);

  // Takes a pause (the display off) out of the clock: the frame at count now
  // comes one frame of `frame` counts after the last, and the animation goes
  // on from where it stopped. Call it just before that frame's Tick.
  void SkipPause(int64_t now, int64_t frame);
};

}  // namespace tremblix
