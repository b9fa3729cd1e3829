// What the renderer asks Windows about the display: the monitors, the refresh
// rate, and whether the console display is on.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "renderer/screen_layout.h"

namespace tremblix {

// Every monitor in virtual-screen coordinates, the primary marked.
std::vector<Monitor> ListMonitors();

// The primary's refresh rate as Windows reports it; 0 or 1 when unknown.
int PrimaryRefreshRate();

// MinGW's headers hide these below Vista: the power-setting notification.
constexpr WPARAM kPowerSettingChange = 0x8013;  // PBT_POWERSETTINGCHANGE
struct PowerSetting {                           // POWERBROADCAST_SETTING
  GUID setting;
  DWORD dataLength;
  UCHAR data[1];
};
static_assert(sizeof(PowerSetting) == 24, "POWERBROADCAST_SETTING is 24 bytes in both editions");
// GUID_CONSOLE_DISPLAY_STATE: 0 off, 1 on, 2 dimmed.
constexpr GUID kConsoleDisplayState = {
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};

// Asks for WM_POWERBROADCAST when the console display goes off and on; false
// where Windows has no such notification (before Vista).
bool NotifyDisplayState(HWND window);

// The console display state a WM_POWERBROADCAST carries; false for any other.
bool DisplayStateOf(WPARAM wparam, LPARAM lparam, uint32_t* state);

}  // namespace tremblix
