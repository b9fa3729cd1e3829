#include "saver/settings/dialog_keys.h"

namespace tremblix {
namespace {

// The kind's place on the screen, or -1.
int ScreenPlaceOf(int16_t kind) {
  for (int place = 0; place < 3; ++place) {
    if (kKindsOnScreen[place] == kind) return place;
  }
  return -1;
}

}  // namespace

int16_t KindTabStop(int16_t chosen) {
  return ScreenPlaceOf(chosen) >= 0 ? chosen : kKindsOnScreen[0];
}

std::optional<int16_t> KindForKey(int16_t focused, int key_code) {
  const int place = ScreenPlaceOf(focused);
  if (place < 0) return std::nullopt;
  switch (key_code) {
    case kKeyUp:
    case kKeyLeft:
      return kKindsOnScreen[(place + 2) % 3];
    case kKeyDown:
    case kKeyRight:
      return kKindsOnScreen[(place + 1) % 3];
    case kKeySpace:
      return focused;
  }
  return std::nullopt;
}

DialogButton ButtonForKey(int key_code, DialogStop focus, bool repeat_list_open) {
  if (focus == DialogStop::kRepeatBox && repeat_list_open) return DialogButton::kNone;
  if (key_code == kKeyEscape) return DialogButton::kCancel;
  if (key_code != kKeyReturn) return DialogButton::kNone;
  switch (focus) {
    case DialogStop::kFileButton:
      return DialogButton::kFileButton;
    case DialogStop::kCancel:
      return DialogButton::kCancel;
    case DialogStop::kHomePage:
      return DialogButton::kNone;
    default:
      return DialogButton::kSet;
  }
}

}  // namespace tremblix
