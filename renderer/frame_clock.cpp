#include "renderer/frame_clock.h"

namespace tremblix {

void FrameClock::Tick(int64_t now) {
  // Divided in extended precision; the frame time comes from the unrounded
  // quotient, so rounding errors do not pile up from frame to frame.
  const long double q =
      static_cast<long double>(now - start) / static_cast<long double>(frequency);
  const float previous = seconds;
  seconds = static_cast<float>(q);
  frameSeconds = static_cast<float>(q - previous);
  last = now;
}

void FrameClock::SkipPause(int64_t now, int64_t frame) {
  if (now - last > frame) start += now - last - frame;
}

}  // namespace tremblix
