#include "saver/forms/keyboard_cues.h"

namespace tremblix::forms {

CueRequest ResolvedCues(CueRequest request, bool keyboard_last, bool always_shown) {
  if (always_shown) return {kCueClear, kCuesHidden};
  if (request.action != kCueInitialize) return request;
  return {keyboard_last ? kCueClear : kCueSet, kCuesHidden};
}

uint16_t FirstCues(bool always_shown) { return always_shown ? 0 : kCuesHidden; }

uint16_t ChangedCues(uint16_t state, CueRequest request) {
  if (request.flags & ~(kHideFocus | kHideAccel | kCueActive)) return state;
  switch (request.action) {
    case kCueSet:
      return static_cast<uint16_t>(state | request.flags);
    case kCueClear:
      return static_cast<uint16_t>(state & ~request.flags);
  }
  return state;
}

namespace {
constexpr int kTab = 9, kLeft = 37, kDown = 40;
bool IsArrow(int key_code) { return key_code >= kLeft && key_code <= kDown; }
}  // namespace

bool KeyShowsFocus(int key_code) { return key_code == kTab || IsArrow(key_code); }

bool KeyActsWhileHeld(int key_code) { return IsArrow(key_code); }

bool IsFocusFrameDot(int x, int y, int width, int height, int border_x, int border_y) {
  if (x < 0 || y < 0 || x >= width || y >= height) return false;
  border_x = border_x < 1 ? 1 : border_x;
  border_y = border_y < 1 ? 1 : border_y;
  const bool frame = x < border_x || x >= width - border_x || y < border_y || y >= height - border_y;
  return frame && (x + y) % 2 == 0;
}

}  // namespace tremblix::forms
