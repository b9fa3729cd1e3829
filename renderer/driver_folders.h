// Which folders of the graphics card's OpenGL driver the renderer lets
// Windows load libraries from. Both programs look for libraries in the system
// folder alone; today's drivers keep their OpenGL driver, and the libraries
// it loads by name, in a folder of their own under the driver store. Without
// that folder the driver may fail to load, and Windows' software OpenGL draws.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tremblix {

// A path made full and long (no "..", no 8.3 names), as Windows resolves it;
// nothing when it cannot be resolved.
using CanonicalPath = std::function<std::optional<std::wstring>(const std::wstring& path)>;

// The folders to add for the driver values read from the adapters' keys:
// each value a REG_SZ's text or a REG_MULTI_SZ's (strings each ended by a NUL).
// A driver named by a bare file name lies in the system folder and adds
// nothing; a path adds its folder only when, resolved, it lies below
// system_folder\DriverStore\FileRepository (letters of either case) and is
// plainly canonical. Each folder once, in the order found.
std::vector<std::wstring> DriverFoldersToAdd(const std::wstring& system_folder,
                                             const std::vector<std::wstring>& values,
                                             const CanonicalPath& canonical);

}  // namespace tremblix
