// The zoom that accompanies the settings dialog: a title bar growing from the
// pointer to the window when it opens, and shrinking back when it closes.
#pragma once

#include <cstdint>

namespace tremblix {

struct ScreenRect {
  int32_t left, top, right, bottom;
  bool operator==(const ScreenRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

inline constexpr int kIdAniCaption = 3;  // IDANI_CAPTION

// The two platform calls of the zoom, for one window.
class ZoomPlatform {
 public:
  virtual ~ZoomPlatform() = default;
  virtual ScreenRect WindowRect() = 0;  // GetWindowRect; a failure gives what it gives
  virtual void DrawAnimatedRects(int animation, const ScreenRect& from, const ScreenRect& to) = 0;
};

// The pointer when the dialog loaded, in screen pixels; 0 until then.
extern int16_t ZoomPointX;
extern int16_t ZoomPointY;

void ZoomOpen(ZoomPlatform& window);
void ZoomClose(ZoomPlatform& window);

}  // namespace tremblix
