#include "saver/common/dpi_win32.h"

#include "saver/common/dpi_awareness.h"
#include "saver/common/system_libraries_win32.h"
#include "saver/common/twips.h"

namespace tremblix {
namespace {

// DPI_AWARENESS_CONTEXT values, which MinGW's headers for older Windows lack.
const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(-4);
const HANDLE kPerMonitorAware = reinterpret_cast<HANDLE>(-3);
constexpr int kProcessPerMonitorDpiAware = 2;  // PROCESS_PER_MONITOR_DPI_AWARE
constexpr int kEffectiveDpi = 0;               // MDT_EFFECTIVE_DPI

// Looked up, not linked, so that older Windows still start the programs.
template <typename Function>
Function User32(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

class Win32AwarenessRequests : public AwarenessRequests {
 public:
  bool Declare(Awareness awareness) override {
    using SetContext = BOOL(WINAPI*)(HANDLE);
    using SetShcore = HRESULT(WINAPI*)(int);
    using SetSystem = BOOL(WINAPI*)();
    switch (awareness) {
      case Awareness::kPerMonitorV2:
      case Awareness::kPerMonitor: {
        const auto set = User32<SetContext>("SetProcessDpiAwarenessContext");
        return set && set(awareness == Awareness::kPerMonitorV2 ? kPerMonitorAwareV2
                                                                : kPerMonitorAware);
      }
      case Awareness::kPerMonitorShcore: {
        const auto set =
            reinterpret_cast<SetShcore>(SystemFunction("shcore.dll", "SetProcessDpiAwareness"));
        return set && SUCCEEDED(set(kProcessPerMonitorDpiAware));
      }
      case Awareness::kSystem: {
        const auto set = User32<SetSystem>("SetProcessDPIAware");
        return set && set();
      }
    }
    return false;
  }
};

int SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kBaseDpi;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kBaseDpi;
}

}  // namespace

void DeclareDpiAware() {
  Win32AwarenessRequests windows;
  DeclareRealPixels(windows);
}

void DeclareDialogDpiAware() {
  Win32AwarenessRequests windows;
  DeclareForDialog(windows);
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
  return SystemDpi();
}

int DpiOfMonitor(HMONITOR monitor) {
  using GetDpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  const auto get =
      reinterpret_cast<GetDpiForMonitor>(SystemFunction("shcore.dll", "GetDpiForMonitor"));
  UINT x = 0, y = 0;
  if (get && SUCCEEDED(get(monitor, kEffectiveDpi, &x, &y)) && y > 0) return static_cast<int>(y);
  return SystemDpi();
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
