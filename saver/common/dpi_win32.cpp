#include "saver/common/dpi_win32.h"

#include <windows.h>

namespace tremblix {

// Looked up, not linked, so that older Windows still start the programs.
void DeclareDpiAware() {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  using SetContext = BOOL(WINAPI*)(HANDLE);
  if (auto set = reinterpret_cast<SetContext>(
          reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")))) {
    // Per-monitor v2, else v1 (DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, _AWARE).
    if (set(reinterpret_cast<HANDLE>(-4)) || set(reinterpret_cast<HANDLE>(-3))) return;
  }
  if (HMODULE shcore = LoadLibraryW(L"shcore.dll")) {
    using SetAwareness = HRESULT(WINAPI*)(int);
    if (auto set = reinterpret_cast<SetAwareness>(
            reinterpret_cast<void*>(GetProcAddress(shcore, "SetProcessDpiAwareness")))) {
      if (SUCCEEDED(set(2))) return;  // PROCESS_PER_MONITOR_DPI_AWARE
    }
  }
  using SetAware = BOOL(WINAPI*)();
  if (auto set = reinterpret_cast<SetAware>(
          reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDPIAware")))) {
    set();
  }
}

}  // namespace tremblix
