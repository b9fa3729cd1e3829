#include "saver/settings/dialog_layout.h"

#include <algorithm>

#include "saver/common/numbers.h"
#include "saver/common/twips.h"

namespace tremblix {

TwipsPoint DialogPlacement(double screen_width, double screen_height, double window_width,
                           double window_height) {
  // A difference beyond 32 bits cannot be a screen; it places at 0.
  const int32_t free_width = RoundToInt32(screen_width - window_width).value_or(0);
  const int32_t free_height = RoundToInt32(screen_height - window_height).value_or(0);
  return {free_width / 2, free_height / 3};
}

PixelBox PixelsAt(const TwipsBox& box, int dpi) {
  const int left = TwipsToPixels(box.left, dpi), top = TwipsToPixels(box.top, dpi);
  return {left, top, TwipsToPixels(box.left + box.width, dpi) - left,
          TwipsToPixels(box.top + box.height, dpi) - top};
}

PixelBox DialogClientAt(int dpi) {
  return PixelsAt({0, 0, kDialogClientWidth, kDialogClientHeight}, dpi);
}

int FontPixelsAt(double points, int dpi) { return PointsToPixels(points, dpi); }

PixelBox PlaceDialog(const std::optional<ScreenBox>& owner, const DialogMonitor& monitor,
                     const FrameMargins& frame) {
  const PixelBox client = DialogClientAt(monitor.dpi);
  const int width = client.width + frame.left + frame.right;
  const int height = client.height + frame.top + frame.bottom;
  // In 64 bits: a rectangle read from another process may hold anything.
  int64_t left, top;
  if (owner) {
    left = (int64_t{owner->left} + owner->right) / 2 - width / 2;
    top = (int64_t{owner->top} + owner->bottom) / 2 - height / 2;
  } else {
    const ScreenBox& m = monitor.rect;
    const TwipsPoint place = DialogPlacement(
        PixelsToTwips(int64_t{m.right} - m.left, monitor.dpi),
        PixelsToTwips(int64_t{m.bottom} - m.top, monitor.dpi), PixelsToTwips(width, monitor.dpi),
        PixelsToTwips(height, monitor.dpi));
    left = m.left + int64_t{TwipsToPixels(place.left, monitor.dpi)};
    top = m.top + int64_t{TwipsToPixels(place.top, monitor.dpi)};
  }
  const ScreenBox& area = monitor.work_area;
  left = std::max<int64_t>(std::min<int64_t>(left, int64_t{area.right} - width), area.left);
  top = std::max<int64_t>(std::min<int64_t>(top, int64_t{area.bottom} - height), area.top);
  return {static_cast<int>(left), static_cast<int>(top), width, height};
}

}  // namespace tremblix
