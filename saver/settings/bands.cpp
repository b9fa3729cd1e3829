#include "saver/settings/bands.h"

#include <cmath>

namespace tremblix {
namespace {

// The constant of the design, not pi: it leaves row 243 of a 243-pixel dialog
// a hair past zero.
constexpr double kHalfTurn = 3.142;
constexpr double kAmplitude = 220;

void PaintOne(BandSurface& surface, Rgb (*colour)(int)) {
  const double height = surface.InnerHeight();
  const double width = surface.InnerWidth();
  const long rows = std::lrint(height);  // ties to even
  for (long y = 0; y <= rows; ++y) {
    surface.DrawRow(static_cast<int>(y), width, colour(BandValue(static_cast<int>(y), height)));
  }
}

uint8_t Channel(int value) { return static_cast<uint8_t>(value); }

}  // namespace

int BandValue(int y, double height) {
  const double k = height / kHalfTurn;
  const double value = std::nearbyint(std::fabs(std::sin(y / k) * kAmplitude));
  // A surface of no height has no wave: its one row is dark.
  return std::isfinite(value) ? static_cast<int>(value) : 0;
}

Rgb DialogBandColour(int value) { return {Channel(value), Channel(value), Channel(value + 30)}; }

Rgb PanelBandColour(int value) {
  return {Channel(value + 30), Channel(value + 30), Channel(value + 30)};
}

void PaintBands(BandSurface& dialog, BandSurface& panel) {
  PaintOne(dialog, DialogBandColour);
  PaintOne(panel, PanelBandColour);
}

}  // namespace tremblix
