// Where both programs load their libraries from: the system folder alone.
#pragma once

#include <windows.h>

namespace tremblix {

// Tells Windows to look for libraries in the system folder alone, for every
// load that follows: the late imports, and what the system's own libraries
// load by name (the sound drivers among them). Call it first, before any
// late-imported function. False where Windows cannot (Windows 7 without its
// update); the late imports still come from the system folder by their full
// path then.
bool LoadLibrariesFromSystemFolderOnly();

// Binds every late import of one library now, by the library's full path in
// the system folder: its import list as the linker keeps it (the symbol
// __DELAY_IMPORT_DESCRIPTOR_lib<name>_delay_a). Both programs bind all of
// theirs at start, right after LoadLibrariesFromSystemFolderOnly, so no call
// ever goes through the late-import stubs: the 64-bit stub does not keep the
// floating-point arguments of a first call (OpenGL and GLU take them), and
// the 32-bit one crashed under Wine.
void BindLateImportsNow(const void* import_list);

// A function of a library in the system folder, loaded by its full path:
// for what some Windows lack, looked up where it is called. Null where the
// library or the function is missing.
void* SystemFunction(const char* library, const char* function);

// A library the program looks up at run time, by its full path in the
// system folder; null when it is not there.
HMODULE LoadSystemLibrary(const char* name);

// The import lists of the late-loaded libraries, as the linker names them;
// a program links the late import library of those it binds.
extern "C" const unsigned char kWinmmImports[] __asm__("__DELAY_IMPORT_DESCRIPTOR_libwinmm_delay_a");
extern "C" const unsigned char kMsimg32Imports[] __asm__(
    "__DELAY_IMPORT_DESCRIPTOR_libmsimg32_delay_a");
extern "C" const unsigned char kOpenGlImports[] __asm__(
    "__DELAY_IMPORT_DESCRIPTOR_libopengl32_delay_a");
extern "C" const unsigned char kGluImports[] __asm__("__DELAY_IMPORT_DESCRIPTOR_libglu32_delay_a");
extern "C" const unsigned char kOleaccImports[] __asm__(
    "__DELAY_IMPORT_DESCRIPTOR_liboleacc_delay_a");

}  // namespace tremblix
