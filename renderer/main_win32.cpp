// Tremblix.dll: the renderer. One borderless OpenGL window over every monitor,
// frames at the display's pace, ended by Escape or by closing the window.
#include <windows.h>

#include "renderer/bench_win32.h"
#include "renderer/shell_win32.h"
#include "saver/common/dpi_win32.h"
#include "saver/common/system_libraries_win32.h"

// The import lists of the late-loaded libraries, as the linker names them.
extern "C" const unsigned char kOpenGlImports[] __asm__(
    "__DELAY_IMPORT_DESCRIPTOR_libopengl32_delay_a");
extern "C" const unsigned char kGluImports[] __asm__("__DELAY_IMPORT_DESCRIPTOR_libglu32_delay_a");
extern "C" const unsigned char kWinmmImports[] __asm__("__DELAY_IMPORT_DESCRIPTOR_libwinmm_delay_a");

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // Before anything loads a library: none comes from the program's folder.
  tremblix::LoadLibrariesFromSystemFolderOnly();
  tremblix::BindLateImportsNow(kOpenGlImports);
  tremblix::BindLateImportsNow(kGluImports);
  tremblix::BindLateImportsNow(kWinmmImports);
  tremblix::BenchStarted();
  // Before the first measure of the screen: the window is in real pixels.
  tremblix::DeclareDpiAware();
  PreloadScene();
  HWND window = tremblix::CreateRendererWindow(instance);
  if (!window) return 0;
  if (!tremblix::StartScene(window)) return 0;
  return tremblix::RunMessageLoop(window);
}
