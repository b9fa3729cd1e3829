#include "renderer/frame_clock.h"

#include <algorithm>
#include <cmath>

namespace tremblix {

void FrameClock::Tick(int64_t now) {
  int64_t step = now - last;
  const long double gap = kGapSeconds * static_cast<long double>(frequency);
  if (static_cast<long double>(step) > gap) {
    start += step - frameCounts;
    step = frameCounts;
  }
  last = now;
  const long double q =
      static_cast<long double>(now - start) / static_cast<long double>(frequency);
  seconds = static_cast<float>(q);
  frameSeconds = static_cast<float>(static_cast<long double>(std::min(step, frameCounts)) /
                                    static_cast<long double>(frequency));
}

double FrameClock::SecondsModulo(long double period) const {
  // fmod itself is exact; only the period in counts is rounded, by far less
  // than a count over a month.
  const long double counts = static_cast<long double>(last - start);
  const long double period_counts =
      period * static_cast<long double>(frequency);
  return static_cast<double>(std::fmod(counts, period_counts) /
                             static_cast<long double>(frequency));
}

}  // namespace tremblix
