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

PixelBox PlaceOverOwner(const ScreenBox& owner, int width, int height, const ScreenBox& work_area) {
  // In 64 bits: a rectangle read from another process may hold anything.
  const int64_t centre_x = (static_cast<int64_t>(owner.left) + owner.right) / 2;
  const int64_t centre_y = (static_cast<int64_t>(owner.top) + owner.bottom) / 2;
  int64_t left = centre_x - width / 2, top = centre_y - height / 2;
  left = std::max<int64_t>(std::min<int64_t>(left, int64_t{work_area.right} - width), work_area.left);
  top = std::max<int64_t>(std::min<int64_t>(top, int64_t{work_area.bottom} - height), work_area.top);
  return {static_cast<int>(left), static_cast<int>(top), width, height};
}

}  // namespace tremblix
