// The zoom's platform calls for one window. DrawAnimatedRects sits behind
// RectAnimator so that a test can read the rectangles it is given.
#pragma once

#include <windows.h>

#include "saver/settings/zoom.h"

namespace tremblix {

class RectAnimator {
 public:
  virtual ~RectAnimator() = default;
  virtual void DrawAnimatedRects(HWND hwnd, int animation, const RECT& from, const RECT& to) = 0;
};

// The platform's DrawAnimatedRects.
RectAnimator& PlatformAnimator();

class WindowZoom : public ZoomPlatform {
 public:
  WindowZoom(HWND hwnd, RectAnimator& animator) : hwnd_(hwnd), animator_(animator) {}
  ScreenRect WindowRect() override;
  void DrawAnimatedRects(int animation, const ScreenRect& from, const ScreenRect& to) override;

 private:
  HWND hwnd_;
  RectAnimator& animator_;
};

}  // namespace tremblix
