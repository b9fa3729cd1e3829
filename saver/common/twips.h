// Layout units of the screen-saver program: positions and sizes are kept in
// twips (1/1440 inch) and turned into pixels only here, at the display's dots
// per inch (96 unless said: 15 twips a pixel).
#pragma once

#include <cmath>

namespace tremblix {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kBaseDpi = 96;
inline constexpr int kTwipsPerPixel = kTwipsPerInch / kBaseDpi;
inline constexpr int kTwipsPerPoint = 20;

// Nearest pixel; the 1-twip offsets of a layout fall on the pixel they start
// in. Exact arithmetic: at 192 dpi a pixel is 7.5 twips.
inline int TwipsToPixels(double twips, int dpi = kBaseDpi) {
  return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

inline double PixelsToTwips(double pixels, int dpi) { return pixels * kTwipsPerInch / dpi; }
inline constexpr int PixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

inline int PointsToPixels(double points, int dpi = kBaseDpi) {
  return TwipsToPixels(points * kTwipsPerPoint, dpi);
}

// How many pixels a one-pixel band of a 96-dpi picture takes at this dpi:
// the scale rounded, never less than one, so that drawn lines stay sharp.
inline int BandWidth(int dpi) {
  const long band = std::lround(static_cast<double>(dpi) / kBaseDpi);
  return band < 1 ? 1 : static_cast<int>(band);
}

}  // namespace tremblix
