#include "saver/settings/dialog_layout.h"

#include "saver/common/numbers.h"

namespace tremblix {

TwipsPoint DialogPlacement(double screen_width, double screen_height, double window_width,
                           double window_height) {
  // A difference beyond 32 bits cannot be a screen; it places at 0.
  const int32_t free_width = RoundToInt32(screen_width - window_width).value_or(0);
  const int32_t free_height = RoundToInt32(screen_height - window_height).value_or(0);
  return {free_width / 2, free_height / 3};
}

}  // namespace tremblix
