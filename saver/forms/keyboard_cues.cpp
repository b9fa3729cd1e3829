#include "saver/forms/keyboard_cues.h"

namespace tremblix::forms {

CueRequest ResolvedCues(CueRequest request, bool keyboard_last) {
  if (request.action != kCueInitialize) return request;
  return {keyboard_last ? kCueClear : kCueSet, kCuesHidden};
}

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

bool KeyShowsFocus(int key_code) {
  constexpr int kTab = 9, kLeft = 37, kDown = 40;
  return key_code == kTab || (key_code >= kLeft && key_code <= kDown);
}

}  // namespace tremblix::forms
