// Focus rectangles show while the keyboard is in use, and not before, as
// Windows keeps them: a window's cues state, changed by set, clear and
// initialise requests whose values are the platform's.
#pragma once

#include <cstdint>

namespace tremblix::forms {

// Requests (UIS_SET, UIS_CLEAR, UIS_INITIALIZE) and state bits (UISF_HIDEFOCUS,
// UISF_HIDEACCEL, UISF_ACTIVE).
inline constexpr uint16_t kCueSet = 1;
inline constexpr uint16_t kCueClear = 2;
inline constexpr uint16_t kCueInitialize = 3;
inline constexpr uint16_t kHideFocus = 1;
inline constexpr uint16_t kHideAccel = 2;
inline constexpr uint16_t kCueActive = 4;
// Where every window starts, until its form is initialised.
inline constexpr uint16_t kCuesHidden = kHideFocus | kHideAccel;

struct CueRequest {
  uint16_t action;
  uint16_t flags;
};

// Initialise becomes a request to hide both cues, or to show both when the
// last input came from the keyboard; set and clear stand as they are. With
// the user's setting to show them always (SPI_GETKEYBOARDCUES), every
// request shows both.
CueRequest ResolvedCues(CueRequest request, bool keyboard_last, bool always_shown = false);

// Where a form's cues start.
uint16_t FirstCues(bool always_shown);

// The state after a set or a clear; any other request, or flags the platform
// does not know, change nothing.
uint16_t ChangedCues(uint16_t state, CueRequest request);

// Whether a key's press shows where the focus is: Tab and the arrows move it.
bool KeyShowsFocus(int key_code);

// Whether a held key goes on acting at its repeats: the arrows walk on, as
// through Windows' own radio buttons; a key that presses or turns over
// something acts once.
bool KeyActsWhileHeld(int key_code);

// Whether pixel (x, y) of a width x height control is a dot of its focus
// rectangle, border_x pixels wide at the sides and border_y high at the top
// and bottom (at least one): every other pixel of the frame, as Windows dots
// it.
bool IsFocusFrameDot(int x, int y, int width, int height, int border_x, int border_y);

}  // namespace tremblix::forms
