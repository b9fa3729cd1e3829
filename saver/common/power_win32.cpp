#include "saver/common/power_win32.h"

#include <cstring>

#include "saver/common/system_libraries_win32.h"

namespace tremblix {

bool NotifyDisplayState(HWND window) {
  using Register = HANDLE(WINAPI*)(HANDLE, const GUID*, DWORD);
  auto reg = reinterpret_cast<Register>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "RegisterPowerSettingNotification")));
  // The handle is kept by Windows until the window goes; nothing to undo.
  return reg && reg(window, &kConsoleDisplayState, DEVICE_NOTIFY_WINDOW_HANDLE) != nullptr;
}

namespace {

// wtsapi32 is no KnownDLL: it is loaded by its full path in the system
// folder, once, and kept.
FARPROC SessionFunction(const char* name) {
  static HMODULE wtsapi = LoadSystemLibrary("wtsapi32.dll");
  return wtsapi ? GetProcAddress(wtsapi, name) : nullptr;
}

}  // namespace

bool NotifySessionChanges(HWND window) {
  using Register = BOOL(WINAPI*)(HWND, DWORD);
  auto reg = reinterpret_cast<Register>(
      reinterpret_cast<void*>(SessionFunction("WTSRegisterSessionNotification")));
  constexpr DWORD kThisSession = 0;  // NOTIFY_FOR_THIS_SESSION
  return reg && reg(window, kThisSession);
}

void StopSessionNotices(HWND window) {
  using Unregister = BOOL(WINAPI*)(HWND);
  auto unreg = reinterpret_cast<Unregister>(
      reinterpret_cast<void*>(SessionFunction("WTSUnRegisterSessionNotification")));
  if (unreg) unreg(window);
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
