// The user's desktop wallpaper, for when the screen cannot be photographed.
#pragma once

#include <memory>

#include "saver/run/capture_win32.h"

namespace tremblix {

// The wallpaper stretched to width x height; null when there is none or it
// cannot be read. Windows 8 and later keep it as a JPEG, at times without an
// extension: it is read by its content, with Windows' own GDI+.
std::unique_ptr<ScreenSection> LoadWallpaper(int width, int height);

}  // namespace tremblix
