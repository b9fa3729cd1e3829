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

  // Moves the clock to the frame at count now.
  void Tick(int64_t now);
};

}  // namespace tremblix
