#include "saver/common/power_win32.h"

#include <cstring>

namespace tremblix {

bool NotifyDisplayState(HWND window) {
  using Register = HANDLE(WINAPI*)(HANDLE, const GUID*, DWORD);
  auto reg = reinterpret_cast<Register>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "RegisterPowerSettingNotification")));
  // The handle is kept by Windows until the window goes; nothing to undo.
  return reg && reg(window, &kConsoleDisplayState, DEVICE_NOTIFY_WINDOW_HANDLE) != nullptr;
}

bool DisplayStateOf(WPARAM wparam, LPARAM lparam, uint32_t* state) {
  if (wparam != kPowerSettingChange || !lparam) return false;
  const auto* setting = reinterpret_cast<const PowerSetting*>(lparam);
  if (!IsEqualGUID(setting->setting, kConsoleDisplayState) ||
      setting->dataLength < sizeof(DWORD)) {
    return false;
  }
  DWORD value;
  std::memcpy(&value, setting->data, sizeof(value));
  *state = value;
  return true;
}

}  // namespace tremblix
