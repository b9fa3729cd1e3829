// Layout units of the screen-saver program: positions and sizes are kept in
// twips (1/1440 inch) and turned into pixels only here, at 96 dots per inch.
#pragma once

#include <cmath>

namespace tremblix {

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kTwipsPerPoint = 20;

// Nearest pixel; the 1-twip offsets of a layout fall on the pixel they start in.
inline int TwipsToPixels(double twips) {
  return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

inline constexpr int PixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

inline int PointsToPixels(double points) { return TwipsToPixels(points * kTwipsPerPoint); }

}  // namespace tremblix
