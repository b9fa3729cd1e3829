#include "saver/run/photograph.h"

#include <cstring>

namespace tremblix {

bool IsOneColour(const ScreenPixels& screen) {
  if (screen.width <= 0 || screen.height <= 0 || !screen.rows) return true;
  const int step = screen.bytes_per_pixel;
  const uint8_t* first = screen.rows;
  for (int32_t y = 0; y < screen.height; ++y) {
    const uint8_t* pixel = screen.rows + static_cast<size_t>(y) * screen.row_bytes;
    for (int32_t x = 0; x < screen.width; ++x, pixel += step) {
      if (std::memcmp(pixel, first, 3) != 0) return false;
    }
  }
  return true;
}

PictureSource ChoosePictures(bool photograph_shows_desktop, bool earlier_pictures_there,
                             const std::function<bool()>& load_wallpaper) {
  if (photograph_shows_desktop) return PictureSource::kPhotograph;
  if (earlier_pictures_there) return PictureSource::kEarlierPictures;
  if (load_wallpaper && load_wallpaper()) return PictureSource::kWallpaper;
  return PictureSource::kBlack;
}

}  // namespace tremblix
