// What Windows says of the display, of sleep and of the session, as plain
// numbers, and the rule both programs draw from it.
#pragma once

#include <cstdint>

namespace tremblix {

// WM_POWERBROADCAST's events; MinGW's headers hide the newer ones.
inline constexpr uintptr_t kPowerSuspend = 0x0004;            // PBT_APMSUSPEND
inline constexpr uintptr_t kPowerResumeByPerson = 0x0007;     // PBT_APMRESUMESUSPEND
inline constexpr uintptr_t kPowerResumeAutomatic = 0x0012;    // PBT_APMRESUMEAUTOMATIC
inline constexpr uintptr_t kPowerSettingChange = 0x8013;      // PBT_POWERSETTINGCHANGE

// WM_WTSSESSION_CHANGE's events (its wParam) that say whether anyone sees
// the session; the others (log-on, log-off, remote control) change nothing.
inline constexpr uintptr_t kSessionConsoleConnect = 1;     // WTS_CONSOLE_CONNECT
inline constexpr uintptr_t kSessionConsoleDisconnect = 2;  // WTS_CONSOLE_DISCONNECT
inline constexpr uintptr_t kSessionRemoteConnect = 3;      // WTS_REMOTE_CONNECT
inline constexpr uintptr_t kSessionRemoteDisconnect = 4;   // WTS_REMOTE_DISCONNECT
inline constexpr uintptr_t kSessionLock = 7;               // WTS_SESSION_LOCK
inline constexpr uintptr_t kSessionUnlock = 8;             // WTS_SESSION_UNLOCK

// The console display state of a power notification: 0 off, 1 on, 2 dimmed
// (still showing).
bool DisplayIsOn(uint32_t state);

// Whether anyone could see or hear the run: the display showing, the machine
// awake, and the session connected (at the console or remotely) and unlocked.
// The renderer draws and the saver's music plays only then; an open audio
// stream keeps Windows from sleeping, so music that may not play is closed,
// not just silenced.
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
  void Resumed(bool by_person);
  // A session notice. Windows reports changes only, so the state before the
  // first is the one a saver starts in: connected and unlocked.
  void SessionChanged(uintptr_t event);
  bool SomeoneThere() const { return display_on_ && !suspended_ && connected_ && !locked_; }

 private:
  bool display_on_ = true;  // a saver starts on a screen someone looks at
  bool suspended_ = false;
  bool connected_ = true;
  bool locked_ = false;
};

}  // namespace tremblix
