#include "saver/startup/owner.h"

namespace tremblix {

WindowRef ChooseOwner(int32_t named, OwnerWindows& windows) {
  WindowRef found = HandleFromArgument(named);
  if (found == 0 || !windows.IsWindow(found)) found = windows.Foreground();
  if (found == 0) return 0;
  const WindowRef root = windows.Root(found);
  if (root == 0) return 0;
  if (root == windows.Desktop() || root == windows.ShellWindow() ||
      windows.ClassName(root) == kTaskbarClass) {
    return 0;
  }
  return root;
}

}  // namespace tremblix
