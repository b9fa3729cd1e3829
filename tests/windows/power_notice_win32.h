// The power notices Windows sends, for a window of this process.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstring>

#include "saver/common/power_win32.h"

namespace tremblix {

// The console display went off (0), on (1) or dimmed (2).
inline void SendDisplayState(HWND window, DWORD state) {
  alignas(PowerSetting) unsigned char message[sizeof(PowerSetting) + 4] = {};
  auto* setting = reinterpret_cast<PowerSetting*>(message);
  setting->setting = kConsoleDisplayState;
  setting->dataLength = sizeof(DWORD);
  std::memcpy(message + offsetof(PowerSetting, data), &state, sizeof(state));
  SendMessageW(window, WM_POWERBROADCAST, kPowerSettingChange, reinterpret_cast<LPARAM>(message));
}

// The machine goes to sleep or wakes: kPowerSuspend, kPowerResumeAutomatic...
inline void SendPowerEvent(HWND window, WPARAM event) {
  SendMessageW(window, WM_POWERBROADCAST, event, 0);
}

}  // namespace tremblix
