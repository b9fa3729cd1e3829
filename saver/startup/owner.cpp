#include "saver/startup/owner.h"

namespace tremblix {
namespace {

bool IsShellClass(const std::string& name) {
  for (const char* shell : kShellClasses) {
    if (name == shell) return true;
  }
  return false;
}

}  // namespace

WindowRef ChooseOwner(int32_t named, OwnerWindows& windows) {
  WindowRef found = HandleFromArgument(named);
  if (found == 0 || !windows.IsWindow(found)) found = windows.Foreground();
  if (found == 0) return 0;
  const WindowRef root = windows.Root(found);
  if (root == 0 || root == windows.Desktop() || root == windows.ShellWindow() ||
      IsShellClass(windows.ClassName(root)) || !windows.IsVisible(root) ||
      windows.IsCloaked(root)) {
    return 0;
  }
  return root;
}

}  // namespace tremblix
