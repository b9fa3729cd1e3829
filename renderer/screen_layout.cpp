#include "renderer/screen_layout.h"

#include <algorithm>
#include <cmath>

namespace tremblix {

namespace {

ScreenRect Bounds(const std::vector<ScreenRect>& rects) {
  ScreenRect box = rects.front();
  for (const ScreenRect& r : rects) {
    box.left = std::min(box.left, r.left);
    box.top = std::min(box.top, r.top);
    box.right = std::max(box.right, r.right);
    box.bottom = std::max(box.bottom, r.bottom);
  }
  return box;
}

}  // namespace

ScreenLayout LayOutScreen(const std::vector<Monitor>& monitors,
                          const std::optional<MonitorsFile>& file) {
  const std::vector<ScreenRect> numbered = NumberMonitors(monitors);
  // Every monitor Windows lists is covered, those without a scene too.
  std::vector<ScreenRect> all = numbered;
  for (const Monitor& m : monitors) {
    if (m.rect.Width() > 0 && m.rect.Height() > 0) all.push_back(m.rect);
  }
  ScreenLayout layout;
  layout.window = Bounds(all);
  const bool all_monitors = !file || file->all_monitors;
  const size_t shown = all_monitors ? numbered.size() : 1;
  for (size_t i = 0; i < shown; ++i) {
    const ScreenRect& m = numbered[i];
    SceneView view;
    view.number = static_cast<int>(i) + 1;
    view.monitor = m;
    view.viewport = {m.left - layout.window.left, layout.window.bottom - m.bottom,
                     std::max<int32_t>(m.Width(), 1), std::max<int32_t>(m.Height(), 1)};
    view.picture_set = PictureSetFor(file, view.number, m);
    layout.views.push_back(view);
  }
  return layout;
}

double AspectOf(const Viewport& viewport) {
  return static_cast<double>(viewport.width) / viewport.height;
}

double VerticalFieldOf(const Viewport& viewport, double field_degrees) {
  const double aspect = AspectOf(viewport);
  if (aspect >= 1) return field_degrees;
  constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180;
  const double half = std::tan(field_degrees / 2 * kRadiansPerDegree) / aspect;
  return 2 * std::atan(half) / kRadiansPerDegree;
}

}  // namespace tremblix
