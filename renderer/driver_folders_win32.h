// Lets Windows load the graphics card's OpenGL driver and what it loads by
// name from the driver's own folder (driver_folders.h says which folders).
#pragma once

namespace tremblix {

// Reads every present display adapter's OpenGL driver (OpenGLDriverNameWow
// for a 32-bit program under 64-bit Windows), adds the folders the rule
// allows to the library search, and then searches the system folder and
// those. Call it after LoadLibrariesFromSystemFolderOnly and before anything
// asks OpenGL for a pixel format, which is when the driver loads. A value
// that cannot be read adds nothing; where Windows lacks AddDllDirectory
// (Windows 7 without its update) nothing changes.
void AddGraphicsDriverFolders();

}  // namespace tremblix
