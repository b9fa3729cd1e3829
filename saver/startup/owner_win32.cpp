#include "saver/startup/owner_win32.h"

#include "saver/startup/owner.h"

namespace tremblix {
namespace {

HWND AsHwnd(WindowRef window) { return reinterpret_cast<HWND>(window); }
WindowRef AsRef(HWND window) { return reinterpret_cast<WindowRef>(window); }

class Win32OwnerWindows : public OwnerWindows {
 public:
  bool IsWindow(WindowRef window) override { return ::IsWindow(AsHwnd(window)) != FALSE; }
  WindowRef Root(WindowRef window) override { return AsRef(GetAncestor(AsHwnd(window), GA_ROOT)); }
  WindowRef Foreground() override { return AsRef(GetForegroundWindow()); }
  WindowRef Desktop() override { return AsRef(GetDesktopWindow()); }
  WindowRef ShellWindow() override { return AsRef(GetShellWindow()); }
  std::string ClassName(WindowRef window) override {
    char name[256] = {};
    const int length = GetClassNameA(AsHwnd(window), name, sizeof(name));
    return std::string(name, length > 0 ? length : 0);
  }
};

}  // namespace

HWND OwnerFor(int32_t named_handle) {
  Win32OwnerWindows windows;
  return AsHwnd(ChooseOwner(named_handle, windows));
}

}  // namespace tremblix
