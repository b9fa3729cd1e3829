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

std::wstring PictureFolderOfThisUser(bool make) {
  const std::wstring local = KnownFolder(CSIDL_LOCAL_APPDATA, make);
  const std::wstring mine = local.empty() ? std::wstring() : UserFolder(local);
  return PictureFolder(mine, FolderThere(mine, make));
}

}  // namespace tremblix
