#include "renderer/screen_layout.h"

#include <algorithm>

namespace tremblix {

namespace {

ScreenRect Bounds(const std::vector<Monitor>& monitors) {
  ScreenRect box = monitors.front().rect;
  for (const Monitor& m : monitors) {
    box.left = std::min(box.left, m.rect.left);
    box.top = std::min(box.top, m.rect.top);
    box.right = std::max(box.right, m.rect.right);
    box.bottom = std::max(box.bottom, m.rect.bottom);
  }
  return box;
}

// Bands above and below the primary across the whole window, then left and
// right of it at its own height; empty bands are left out.
std::vector<ScreenRect> BlackAround(const ScreenRect& primary, int32_t width, int32_t height) {
  const ScreenRect bands[] = {
      {0, 0, width, primary.top},
      {0, primary.bottom, width, height},
      {0, primary.top, primary.left, primary.bottom},
      {primary.right, primary.top, width, primary.bottom},
  };
  std::vector<ScreenRect> black;
  for (const ScreenRect& band : bands) {
    if (band.Width() > 0 && band.Height() > 0) black.push_back(band);
  }
  return black;
}

}  // namespace

ScreenLayout LayOutScreen(const std::vector<Monitor>& given) {
  std::vector<Monitor> monitors = given;
  if (monitors.empty()) {
    monitors.push_back({{0, 0, kFallbackScreenWidth, kFallbackScreenHeight}, true});
  }
  const auto marked = std::find_if(monitors.begin(), monitors.end(),
                                   [](const Monitor& m) { return m.primary; });
  const ScreenRect primary = marked != monitors.end() ? marked->rect : monitors.front().rect;

  ScreenLayout layout;
  layout.window = Bounds(monitors);
  layout.primary = {primary.left - layout.window.left, primary.top - layout.window.top,
                    primary.right - layout.window.left, primary.bottom - layout.window.top};
  const int32_t height = layout.window.Height();
  layout.viewport = {layout.primary.left, height - layout.primary.bottom,
                     std::max<int32_t>(layout.primary.Width(), 1),
                     std::max<int32_t>(layout.primary.Height(), 1)};
  layout.black = BlackAround(layout.primary, layout.window.Width(), height);
  return layout;
}

double AspectOf(const Viewport& viewport) {
  return static_cast<double>(viewport.width) / viewport.height;
}

}  // namespace tremblix
