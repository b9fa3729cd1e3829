// Real pixels for both programs: the saver's photograph and the renderer's
// window measure the screen as it is, not as Windows scales it; the settings
// dialog and the preview draw themselves at the display's scaling.
#pragma once

#include <windows.h>

namespace tremblix {

// Per-monitor awareness where Windows has it (10 and 8.1), system awareness
// where it does not (Vista to 8), nothing before. Call it before the first
// window or screen measure.
void DeclareDpiAware();

// The settings dialog's awareness: per-monitor v2 where Windows has it (its
// dialogs and common controls scale with it), else system awareness. Never
// version 1, which leaves a dialog's non-client parts unscaled.
void DeclareDialogDpiAware();

// Gives the calling thread the awareness of the window (of another process,
// say) before it makes a child for it: a child of other awareness is not
// supported by Windows. Does nothing where Windows has no such contexts.
void TakeAwarenessOf(HWND window);

// The dots per inch the window is drawn at: its monitor's for a per-monitor
// aware window, else the system's.
int DpiOfWindow(HWND window);

// The dots per inch a window of this program is drawn at on the monitor: the
// monitor's own where the program is per-monitor aware, else the system's.
int DpiOfMonitor(HMONITOR monitor);

// GetSystemMetrics at a dpi, where Windows can tell it; else as the system is.
int MetricAtDpi(int index, int dpi);

// The window rectangle for a client rectangle at a dpi.
RECT FrameForClient(const RECT& client, DWORD style, DWORD ex_style, int dpi);

}  // namespace tremblix
