// The user's folders as Windows names them, for the rules in places.h.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace tremblix {

// A folder of the user's (CSIDL_LOCAL_APPDATA, CSIDL_APPDATA, ...); empty
// when Windows gives none. With make, Windows makes it where it is missing.
std::wstring KnownFolder(int csidl, bool make = false);

// Whether path is a folder, making it first when make is true.
bool FolderThere(const std::wstring& path, bool make);

// Whether path is a file (not a folder).
bool FileThere(const std::wstring& path);

// Writes the bytes over the file at path, made when missing and cut to
// their length; true only when every byte is written and the file closed.
bool WriteWholeFile(const std::wstring& path, const void* bytes, size_t size);

// The short (8.3) form of an existing file's path; nothing where the volume
// has none (it hands the long path back) or the file is not there.
std::optional<std::wstring> ShortPathOf(const std::wstring& path);

// The folder of the hand-off pictures for the user who runs the program, or
// none (empty). The screen saver makes it (make true); the renderer only
// looks for it, so that both choose the same folder.
std::wstring PictureFolderOfThisUser(bool make);

}  // namespace tremblix
