#include "saver/settings/zoom.h"

namespace tremblix {

int16_t ZoomPointX = 0;
int16_t ZoomPointY = 0;

namespace {

ScreenRect ZoomPoint() { return {ZoomPointX, ZoomPointY, ZoomPointX, ZoomPointY}; }

}  // namespace

void ZoomOpen(ZoomPlatform& window) {
  window.DrawAnimatedRects(kIdAniCaption, ZoomPoint(), window.WindowRect());
}

void ZoomClose(ZoomPlatform& window) {
  window.DrawAnimatedRects(kIdAniCaption, window.WindowRect(), ZoomPoint());
}

}  // namespace tremblix
