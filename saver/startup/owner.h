// Which window owns the settings dialog and the missing-renderer message: the
// page that asked for them, so that it waits while they are open.
#pragma once

#include <cstdint>
#include <string>

namespace tremblix {

using WindowRef = intptr_t;  // a window handle; 0 is none

// What the rule asks of the platform's windows.
class OwnerWindows {
 public:
  virtual ~OwnerWindows() = default;
  virtual bool IsWindow(WindowRef window) = 0;
  virtual WindowRef Root(WindowRef window) = 0;  // top-level ancestor (GA_ROOT)
  virtual WindowRef Foreground() = 0;
  virtual WindowRef Desktop() = 0;
  virtual WindowRef ShellWindow() = 0;
  virtual std::string ClassName(WindowRef window) = 0;
};

inline constexpr char kTaskbarClass[] = "Shell_TrayWnd";

// The top-level ancestor of the named window, or of the foreground window
// when the handle names none; no owner (0) when that is the desktop, the
// shell's window or the taskbar, which a crash of ours would leave disabled.
WindowRef ChooseOwner(int32_t named, OwnerWindows& windows);

// The handle as a window: its 32 bits widened with their sign, as Windows
// widens a handle written by a 32-bit program.
inline WindowRef HandleFromArgument(int32_t named) { return static_cast<WindowRef>(named); }

}  // namespace tremblix
