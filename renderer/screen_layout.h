// Where the renderer's window goes and where the scene is drawn in it: the
// window covers every monitor, each monitor with a number (monitors.h) shows
// the scene in a viewport of its own, the rest is black.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "saver/common/monitors.h"

namespace tremblix {

// A viewport in OpenGL's terms: inside the window, rows counted from the bottom.
struct Viewport {
  int32_t x = 0, y = 0, width = 0, height = 0;
  bool operator==(const Viewport& o) const {
    return x == o.x && y == o.y && width == o.width && height == o.height;
  }
};

// One monitor's scene.
struct SceneView {
  int number = 1;       // the monitor's, 1 the primary
  ScreenRect monitor;   // virtual-screen coordinates
  Viewport viewport;    // at least 1 x 1
  int picture_set = 1;  // the pictures it reflects
};

struct ScreenLayout {
  ScreenRect window;             // virtual-screen coordinates: every monitor's bounding box
  std::vector<SceneView> views;  // the primary's first; never empty
};

// The window over every monitor; a scene on each numbered monitor, or on the
// primary alone when the saver's file says so, each reflecting the set the
// file gives it (every monitor the primary's without a file).
ScreenLayout LayOutScreen(const std::vector<Monitor>& monitors,
                          const std::optional<MonitorsFile>& file = std::nullopt);

// Width over height of the viewport, the projection's aspect.
double AspectOf(const Viewport& viewport);

// The projection's vertical field in degrees, for a field of field_degrees:
// vertical as it is, except on a viewport taller than wide, where the field
// is the horizontal one, so that the floor is not cut off at the sides.
double VerticalFieldOf(const Viewport& viewport, double field_degrees);

}  // namespace tremblix
