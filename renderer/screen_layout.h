// Where the renderer's window goes and where the scene is drawn in it: the
// window covers every monitor, the scene fills the primary one, the rest is
// black.
#pragma once

#include <cstdint>
#include <vector>

namespace tremblix {

// A rectangle, right and bottom excluded; rows count downwards.
struct ScreenRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool operator==(const ScreenRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

// One monitor, in virtual-screen coordinates (the primary's top-left is 0, 0).
struct Monitor {
  ScreenRect rect;
  bool primary = false;
};

// A viewport in OpenGL's terms: inside the window, rows counted from the bottom.
struct Viewport {
  int32_t x = 0, y = 0, width = 0, height = 0;
  bool operator==(const Viewport& o) const {
    return x == o.x && y == o.y && width == o.width && height == o.height;
  }
};

struct ScreenLayout {
  ScreenRect window;             // virtual-screen coordinates: every monitor's bounding box
  ScreenRect primary;            // window coordinates, rows downwards
  Viewport viewport;             // the primary in OpenGL's terms, at least 1 x 1
  std::vector<ScreenRect> black; // window coordinates: what the scene leaves black
};

// The screen the renderer has always assumed, where nothing is known.
constexpr int32_t kFallbackScreenWidth = 1024, kFallbackScreenHeight = 768;

// The primary is the one marked so, else the first; with no monitor at all,
// a 1024 x 768 screen at the origin.
ScreenLayout LayOutScreen(const std::vector<Monitor>& monitors);

// Width over height of the viewport, the projection's aspect.
double AspectOf(const Viewport& viewport);

}  // namespace tremblix
