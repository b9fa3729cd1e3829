#include "saver/common/dpi_win32.h"

namespace tremblix {
namespace {

// DPI_AWARENESS_CONTEXT values, which MinGW's headers for older Windows lack.
const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(-4);
const HANDLE kPerMonitorAware = reinterpret_cast<HANDLE>(-3);

// Looked up, not linked, so that older Windows still start the programs.
template <typename Function>
Function User32(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

using SetProcessContext = BOOL(WINAPI*)(HANDLE);
using SetProcessAware = BOOL(WINAPI*)();

void DeclareSystemAware() {
  if (auto set = User32<SetProcessAware>("SetProcessDPIAware")) set();
}

}  // namespace

void DeclareDpiAware() {
  if (auto set = User32<SetProcessContext>("SetProcessDpiAwarenessContext")) {
    if (set(kPerMonitorAwareV2) || set(kPerMonitorAware)) return;
  }
  if (HMODULE shcore = LoadLibraryW(L"shcore.dll")) {
    using SetAwareness = HRESULT(WINAPI*)(int);
    if (auto set = reinterpret_cast<SetAwareness>(
            reinterpret_cast<void*>(GetProcAddress(shcore, "SetProcessDpiAwareness")))) {
      if (SUCCEEDED(set(2))) return;  // PROCESS_PER_MONITOR_DPI_AWARE
    }
  }
  DeclareSystemAware();
}

void DeclareDialogDpiAware() {
  if (auto set = User32<SetProcessContext>("SetProcessDpiAwarenessContext")) {
    if (set(kPerMonitorAwareV2)) return;
  }
  DeclareSystemAware();
}

void TakeAwarenessOf(HWND window) {
  using GetWindowContext = HANDLE(WINAPI*)(HWND);
  using SetThreadContext = HANDLE(WINAPI*)(HANDLE);
  auto get = User32<GetWindowContext>("GetWindowDpiAwarenessContext");
  auto set = User32<SetThreadContext>("SetThreadDpiAwarenessContext");
  if (!get || !set) return;
  if (HANDLE context = get(window)) set(context);
}

int DpiOfWindow(HWND window) {
  using GetDpiForWindow = UINT(WINAPI*)(HWND);
  if (auto get = User32<GetDpiForWindow>("GetDpiForWindow")) {
    if (const UINT dpi = get(window)) return static_cast<int>(dpi);
  }
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

int MetricAtDpi(int index, int dpi) {
  using GetMetricForDpi = int(WINAPI*)(int, UINT);
  if (auto get = User32<GetMetricForDpi>("GetSystemMetricsForDpi")) {
    return get(index, static_cast<UINT>(dpi));
  }
  return GetSystemMetrics(index);
}

RECT FrameForClient(const RECT& client, DWORD style, DWORD ex_style, int dpi) {
  RECT frame = client;
  using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  if (auto adjust = User32<AdjustForDpi>("AdjustWindowRectExForDpi")) {
    if (adjust(&frame, style, FALSE, ex_style, static_cast<UINT>(dpi))) return frame;
    frame = client;
  }
  AdjustWindowRectEx(&frame, style, FALSE, ex_style);
  return frame;
}

}  // namespace tremblix
