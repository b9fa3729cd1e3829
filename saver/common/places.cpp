#include "saver/common/places.h"

namespace tremblix {

namespace {

std::wstring Join(std::wstring_view folder, std::wstring_view name) {
  std::wstring path(folder);
  path += L'\\';
  path += name;
  return path;
}

}  // namespace

std::wstring UserFolder(std::wstring_view app_data) { return Join(app_data, L"Tremblix"); }

std::wstring PictureFolder(std::wstring_view user_folder, bool exists) {
  if (user_folder.empty() || !exists) return kDriveRoot;
  return std::wstring(user_folder);
}

std::wstring PictureName(int n, std::wstring_view extension) {
  std::wstring name = L"Tremblix" + std::to_wstring(n);
  name += extension;
  return name;
}

std::wstring PicturePath(std::wstring_view folder, int n, std::wstring_view extension) {
  return Join(folder, PictureName(n, extension));
}

std::wstring SettingsFile(Edition edition, std::wstring_view program_folder,
                          std::wstring_view roaming_user_folder) {
  // Joined as it stands: at a drive root that doubles the backslash, which
  // the profile functions accept.
  if (edition == Edition::k32Bit || roaming_user_folder.empty()) {
    return Join(program_folder, L"Tremblix.ini");
  }
  return Join(roaming_user_folder, L"Tremblix.ini");
}

std::vector<std::wstring> EarlierSettingsFiles(std::wstring_view local_app_data,
                                               std::wstring_view wow64_folder) {
  std::vector<std::wstring> files;
  if (wow64_folder.empty()) return files;
  // Windows keeps a user's copy of C:\Windows\SysWOW64\x under
  // %LOCALAPPDATA%\VirtualStore\Windows\SysWOW64\x: the path without its drive.
  const bool has_drive = wow64_folder.size() >= 2 && wow64_folder[1] == L':';
  std::wstring_view rest = has_drive ? wow64_folder.substr(2) : wow64_folder;
  if (!local_app_data.empty() && has_drive && !rest.empty() && rest[0] == L'\\') {
    std::wstring store(local_app_data);
    store += L"\\VirtualStore";
    store += rest;
    files.push_back(Join(store, L"Tremblix.ini"));
  }
  files.push_back(Join(wow64_folder, L"Tremblix.ini"));
  return files;
}

std::wstring SettingsToTakeOver(bool own_file_exists, const std::vector<std::wstring>& earlier,
                                const std::function<bool(const std::wstring&)>& exists) {
  if (own_file_exists) return std::wstring();
  for (const std::wstring& file : earlier) {
    if (exists(file)) return file;
  }
  return std::wstring();
}

}  // namespace tremblix
