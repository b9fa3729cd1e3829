// The display-state notification both programs ask Windows for, and the
// record it arrives in.
#pragma once

#include <windows.h>

#include <cstdint>

#include "saver/common/power.h"

namespace tremblix {

// POWERBROADCAST_SETTING, which MinGW's headers hide below Vista.
struct PowerSetting {
  GUID setting;
  DWORD dataLength;
  UCHAR data[1];
};
static_assert(sizeof(PowerSetting) == 24, "POWERBROADCAST_SETTING is 24 bytes in both editions");

// GUID_CONSOLE_DISPLAY_STATE: 0 off, 1 on, 2 dimmed.
constexpr GUID kConsoleDisplayState = {
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};

// Asks for WM_POWERBROADCAST when the console display goes off and on; false
// where Windows has no such notification (before Windows 8).
bool NotifyDisplayState(HWND window);

// The console display state a WM_POWERBROADCAST carries; false for any other.
bool DisplayStateOf(WPARAM wparam, LPARAM lparam, uint32_t* state);

// WM_WTSSESSION_CHANGE: its wParam is one of the session events of power.h.
constexpr UINT kSessionChangeMessage = 0x02B1;

// Asks for WM_WTSSESSION_CHANGE about this session (wtsapi32, looked up in
// the system folder at run time); false where there is none. A window that
// asked must call StopSessionNotices before it is destroyed.
bool NotifySessionChanges(HWND window);
void StopSessionNotices(HWND window);

}  // namespace tremblix
