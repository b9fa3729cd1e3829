// The settings dialog by the keyboard alone: the order Tab takes, the arrows
// in the kinds' group, and the buttons Enter and Escape press.
#pragma once

#include <cstdint>
#include <optional>

#include "saver/music/settings.h"

namespace tremblix {

// Virtual-key codes the dialog answers to.
inline constexpr int16_t kKeyReturn = 13;
inline constexpr int16_t kKeyEscape = 27;
inline constexpr int16_t kKeySpace = 32;
inline constexpr int16_t kKeyLeft = 37;
inline constexpr int16_t kKeyUp = 38;
inline constexpr int16_t kKeyRight = 39;
inline constexpr int16_t kKeyDown = 40;

// Where the keyboard focus is: the stops of Tab, and anywhere else.
enum class DialogStop : uint8_t {
  kKinds,  // the three kinds are one stop
  kRepeatBox,
  kFileButton,
  kMonitors,
  kSet,
  kCancel,
  kHomePage,
  kElsewhere,
};

// The order Tab takes, Shift+Tab the other way.
inline constexpr DialogStop kTabOrder[] = {
    DialogStop::kKinds,    DialogStop::kRepeatBox, DialogStop::kFileButton,
    DialogStop::kMonitors, DialogStop::kSet,       DialogStop::kCancel,
    DialogStop::kHomePage,
};

// The kinds as they stand on the screen, top to bottom: 音楽CD, なし, MP3、WAV.
inline constexpr int16_t kKindsOnScreen[3] = {kBgmCd, kBgmNone, kBgmFile};

// The kind whose caption holds the group's one stop: the chosen one, or the
// first on the screen while none is.
int16_t KindTabStop(int16_t chosen);

// The kind a key chooses from the focused one: Up and Left the one above,
// Down and Right the one below, round from either end, as the arrows go
// through a group of radio buttons; Space the focused one itself. Nothing
// for any other key, or from a kind that is none of the three.
std::optional<int16_t> KindForKey(int16_t focused, int key_code);

enum class DialogButton : uint8_t { kNone, kFileButton, kSet, kCancel };

// The button Enter or Escape presses with the focus there: Enter the focused
// button, and 設定 from anywhere else; Escape ｷｬﾝｾﾙ. An open repeat list keeps
// both keys for itself, and the home-page link Enter (it opens the page).
DialogButton ButtonForKey(int key_code, DialogStop focus, bool repeat_list_open);

}  // namespace tremblix
