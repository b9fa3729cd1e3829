// Tremblix.dll: the renderer. One borderless OpenGL window over every monitor,
// frames at the display's pace, ended by Escape or by closing the window.
#include <windows.h>

#include "renderer/bench_win32.h"
#include "renderer/driver_folders_win32.h"
#include "renderer/shell_win32.h"
#include "saver/common/dpi_win32.h"
#include "saver/common/system_libraries_win32.h"
#include "timing/launch_times_win32.h"

namespace {

int Run(HINSTANCE instance) {
  // Before anything loads a library: none comes from the program's folder.
  tremblix::LoadLibrariesFromSystemFolderOnly();
  tremblix::BenchStarted();
  // Before the first measure of the screen: the window and the monitors are
  // in real pixels, as the saver measured them.
  tremblix::DeclareDpiAware();
  PreloadScene(tremblix::LayOutNow());
  // While the pictures are read, and before OpenGL loads: the graphics
  // card's driver, which loads with the window's pixel format, finds the
  // libraries of its own folder.
  tremblix::AddGraphicsDriverFolders();
  tremblix::BindLateImportsNow(tremblix::kOpenGlImports);
  tremblix::BindLateImportsNow(tremblix::kGluImports);
  tremblix::BindLateImportsNow(tremblix::kWinmmImports);
  HWND window = tremblix::CreateRendererWindow(instance);
  if (!window) return 0;
  if (!tremblix::StartScene(window)) return 0;
  return tremblix::RunMessageLoop(window);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const int code = Run(instance);
  tremblix::launch_times::MarkEnd("dll", static_cast<unsigned long>(code));
  return code;
}
