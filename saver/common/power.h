// What Windows says of the display and of sleep, as plain numbers, and the
// rule both programs draw from it.
#pragma once

#include <cstdint>

namespace tremblix {

// WM_POWERBROADCAST's events; MinGW's headers hide the newer ones.
inline constexpr uintptr_t kPowerSuspend = 0x0004;            // PBT_APMSUSPEND
inline constexpr uintptr_t kPowerResumeByPerson = 0x0007;     // PBT_APMRESUMESUSPEND
inline constexpr uintptr_t kPowerResumeAutomatic = 0x0012;    // PBT_APMRESUMEAUTOMATIC
inline constexpr uintptr_t kPowerSettingChange = 0x8013;      // PBT_POWERSETTINGCHANGE

// The console display state of a power notification: 0 off, 1 on, 2 dimmed
// (still showing).
bool DisplayIsOn(uint32_t state);

// Whether anyone could be listening: the display showing and the machine
// awake. An open audio stream keeps Windows from sleeping, so music that may
// not play is closed, not just silenced.
class PowerWatch {
 public:
  void DisplayState(uint32_t state) { display_on_ = DisplayIsOn(state); }
  // Going to sleep. What the display shows after waking is not known until
  // Windows says so.
  void Suspending() {
    suspended_ = true;
    display_on_ = false;
  }
  // Awake again. A wake of its own (a timer, an update) may leave the display
  // dark; one a person made by a key or the pointer turns it on.
  void Resumed(bool by_person) {
    suspended_ = false;
    if (by_person) display_on_ = true;
  }
  bool MusicMayPlay() const { return display_on_ && !suspended_; }

 private:
  bool display_on_ = true;  // a saver starts on a screen someone looks at
  bool suspended_ = false;
};

}  // namespace tremblix
