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
  virtual bool IsVisible(WindowRef window) = 0;
  // Kept from the screen by the desktop window manager: a window of another
  // virtual desktop, or of an app that is not shown yet.
  virtual bool IsCloaked(WindowRef window) = 0;
};

// The shell's own windows: the taskbar on the primary monitor and on the
// others, and the desktop that holds the icons (Progman, or on Windows 10
// and 11 with a slideshow wallpaper the WorkerW in front of it).
inline constexpr const char* kShellClasses[] = {"Shell_TrayWnd", "Shell_SecondaryTrayWnd",
                                                "Progman", "WorkerW"};

// The top-level ancestor of the named window, or of the foreground window
// when the handle names none. No owner (0) when that is the desktop or one
// of the shell's windows, which a crash of ours would leave disabled, nor
// when it is hidden or cloaked, which would hide the dialog with it.
WindowRef ChooseOwner(int32_t named, OwnerWindows& windows);

// The handle as a window: its 32 bits widened with their sign, as Windows
// widens a handle written by a 32-bit program.
inline WindowRef HandleFromArgument(int32_t named) { return static_cast<WindowRef>(named); }

}  // namespace tremblix
