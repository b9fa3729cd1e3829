#include "saver/settings/zoom_win32.h"

namespace tremblix {
namespace {

class Win32Animator : public RectAnimator {
 public:
  void DrawAnimatedRects(HWND hwnd, int animation, const RECT& from, const RECT& to) override {
    ::DrawAnimatedRects(hwnd, animation, &from, &to);
  }
};

RECT ToRect(const ScreenRect& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

RectAnimator& PlatformAnimator() {
  static Win32Animator animator;
  return animator;
}

ScreenRect WindowZoom::WindowRect() {
  RECT r = {0, 0, 0, 0};
  GetWindowRect(hwnd_, &r);
  return {r.left, r.top, r.right, r.bottom};
}

void WindowZoom::DrawAnimatedRects(int animation, const ScreenRect& from, const ScreenRect& to) {
  animator_.DrawAnimatedRects(hwnd_, animation, ToRect(from), ToRect(to));
}

}  // namespace tremblix
