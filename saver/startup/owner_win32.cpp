#include "saver/startup/owner_win32.h"

#include "saver/common/system_libraries_win32.h"
#include "saver/startup/owner.h"

namespace tremblix {
namespace {

constexpr DWORD kDwmCloaked = 14;  // DWMWA_CLOAKED, Windows 8 on

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
  bool IsVisible(WindowRef window) override { return IsWindowVisible(AsHwnd(window)) != FALSE; }
  // Looked up: Windows before Vista has no dwmapi, and before 8 no cloaking.
  bool IsCloaked(WindowRef window) override {
    using GetAttribute = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);
    const auto get =
        reinterpret_cast<GetAttribute>(SystemFunction("dwmapi.dll", "DwmGetWindowAttribute"));
    DWORD cloaked = 0;
    return get && SUCCEEDED(get(AsHwnd(window), kDwmCloaked, &cloaked, sizeof(cloaked))) &&
           cloaked != 0;
  }
};

}  // namespace

HWND OwnerFor(int32_t named_handle) {
  Win32OwnerWindows windows;
  return AsHwnd(ChooseOwner(named_handle, windows));
}

}  // namespace tremblix
