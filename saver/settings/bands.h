// The banded background the settings dialog paints on itself and on its music
// panel: half a sine wave from dark at the top and bottom rows to light across
// the middle.
#pragma once

#include "saver/controls/command/face_pictures.h"

namespace tremblix {

// A surface the bands are drawn on, measured in pixels.
class BandSurface {
 public:
  virtual ~BandSurface() = default;
  virtual double InnerWidth() = 0;
  virtual double InnerHeight() = 0;
  // A one-pixel line from (0, y) to (width, y).
  virtual void DrawRow(int y, double width, Rgb colour) = 0;
};

// |sin(y / k) x 220| to the nearest integer, ties to even, k = height / 3.142.
int BandValue(int y, double height);

Rgb DialogBandColour(int value);  // (c, c, c + 30): navy to lavender
Rgb PanelBandColour(int value);   // (c + 30, c + 30, c + 30): grey

// Rows 0 to the height rounded, both included, on each surface.
void PaintBands(BandSurface& dialog, BandSurface& panel);

}  // namespace tremblix
