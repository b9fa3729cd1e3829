#include "saver/common/places_win32.h"

#include <windows.h>
#include <shlobj.h>

#include "saver/common/places.h"

namespace tremblix {

std::wstring KnownFolder(int csidl, bool make) {
  wchar_t path[MAX_PATH] = {};
  if (make) csidl |= CSIDL_FLAG_CREATE;
  if (SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) return {};
  return path;
}

bool FolderThere(const std::wstring& path, bool make) {
  if (path.empty()) return false;
  if (make) CreateDirectoryW(path.c_str(), nullptr);
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileThere(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WriteWholeFile(const std::wstring& path, const void* bytes, size_t size) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) &&
            written == size && SetEndOfFile(file);
  return CloseHandle(file) && ok;
}

std::wstring PictureFolderOfThisUser(bool make) {
  const std::wstring local = KnownFolder(CSIDL_LOCAL_APPDATA, make);
  const std::wstring mine = local.empty() ? std::wstring() : UserFolder(local);
  return PictureFolder(mine, FolderThere(mine, make));
}

std::optional<std::wstring> ShortPathOf(const std::wstring& path) {
  const DWORD size = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (size == 0) return std::nullopt;
  std::wstring short_path(size, L'\0');
  const DWORD length = GetShortPathNameW(path.c_str(), short_path.data(), size);
  if (length == 0 || length >= size) return std::nullopt;
  short_path.resize(length);
  if (short_path == path) return std::nullopt;
  return short_path;
}

}  // namespace tremblix
