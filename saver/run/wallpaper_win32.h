// The user's desktop wallpaper, for when the screen cannot be photographed.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "saver/run/capture_win32.h"

namespace tremblix {

// The first of files that can be read, stretched to width x height; null when
// none can. Windows 8 and later keep their copy as a JPEG without an
// extension: it is read by its content, with Windows' own GDI+.
std::unique_ptr<ScreenSection> LoadWallpaper(const std::vector<std::wstring>& files, int width,
                                             int height);

}  // namespace tremblix
