// The companion: a small program of the user's session (Tremblix.scr /w)
// that copies the desktop a moment before Windows starts the saver on a
// desktop of its own, where the run cannot copy the user's. Here its plan:
// from what it knows at one look, what to do and when to look next. It keeps
// no timer while the user works: each look plans the next from the idle time.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tremblix {

// The switch letter of the companion. Windows passes only S, P, C and A to a
// saver; W ("watch") is none of them and reads as what the companion does.
inline constexpr char kCompanionLetter[] = "W";

// While it holds a copy, it looks this often for input that makes the copy
// old, to drop it at once: only while the user is away.
inline constexpr uint32_t kHeldLookMs = 500;

struct CompanionFacts {
  uint32_t now = 0;         // tick count
  uint32_t last_input = 0;  // tick count of the last input
  uint32_t timeout_s = 0;   // ScreenSaveTimeOut
  bool active = false;      // ScreenSaveActive
  bool chosen = false;      // SCRNSAVE.EXE is this program
  bool secure = false;      // the password on resume
  bool locked = false;      // the session locked or disconnected
  bool display_off = false; // the display off, or the machine going to sleep
  bool input_desktop = true;  // its own desktop is the one that takes input
  bool copy_held = false;
  uint32_t copy_taken = 0;  // tick count
};

enum class CompanionAction { kNothing, kCopy, kDrop };

struct CompanionPlan {
  CompanionAction action = CompanionAction::kNothing;
  // Milliseconds until the next look; nothing when only a change of the
  // keys or a notice (an unlock, the display on) can change the plan.
  std::optional<uint32_t> next_look_ms;
  bool operator==(const CompanionPlan& o) const {
    return action == o.action && next_look_ms == o.next_look_ms;
  }
};

// The plan of one look.
//  - It acts only while the saver is active with a timeout, this program is
//    the chosen one and no password is asked on resume; else it drops what
//    it holds and waits for a change of the keys.
//  - Locked, disconnected or the display off: nothing is copied, a copy is
//    dropped, and the notice of the change plans again.
//  - Its desktop not the input one (a prompt of Windows, or Windows' own
//    desktop of the saver): nothing is copied, and it looks again after a
//    timeout; a copy held stays for the run that Windows may be starting.
//  - A copy is dropped at the first input after it, or once too old for a
//    run to show.
//  - It copies once the idle time is the lead short of the timeout, and
//    again once per timeout while the user stays away.
CompanionPlan PlanCompanion(const CompanionFacts& facts);

// A number Windows keeps as text (ScreenSaveTimeOut, ScreenSaveActive), read
// as Windows reads it: leading blanks, then digits; 0 where there are none,
// and no more than a year of seconds.
uint32_t NumberOfText(std::wstring_view text);

// Whether SCRNSAVE.EXE names the program at this path: the same path, in any
// case, or the short form Windows may keep of it (this one's own short path).
bool NamesThisProgram(std::wstring_view value, std::wstring_view path,
                      std::wstring_view short_path);

}  // namespace tremblix
