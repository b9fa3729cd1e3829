#include "saver/common/places.h"

#include <cwctype>

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
  if (user_folder.empty() || !exists) return std::wstring();
  return std::wstring(user_folder);
}

std::wstring PictureName(int n) { return PictureName(1, n); }

std::wstring PictureName(int set, int n) {
  if (set == 1) return L"Tremblix" + std::to_wstring(n) + L".bmp";
  return L"Tremblix-" + std::to_wstring(set) + L"-" + std::to_wstring(n) + L".bmp";
}

std::wstring PicturePath(std::wstring_view folder, int n) { return PicturePath(folder, 1, n); }

std::wstring PicturePath(std::wstring_view folder, int set, int n) {
  if (folder.empty()) return std::wstring();
  return Join(folder, PictureName(set, n));
}

std::wstring PictureTempPath(std::wstring_view folder, int n) {
  return PictureTempPath(folder, 1, n);
}

std::wstring PictureTempPath(std::wstring_view folder, int set, int n) {
  if (folder.empty()) return std::wstring();
  return PicturePath(folder, set, n) + L".tmp";
}

std::wstring PictureBackupPath(std::wstring_view folder, int n) {
  return PictureBackupPath(folder, 1, n);
}

std::wstring PictureBackupPath(std::wstring_view folder, int set, int n) {
  if (folder.empty()) return std::wstring();
  return PicturePath(folder, set, n) + L".old";
}

namespace {

bool EatWord(std::wstring_view& name, std::wstring_view word) {
  if (name.size() < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (static_cast<wchar_t>(std::towlower(name[i])) != word[i]) return false;
  }
  name.remove_prefix(word.size());
  return true;
}

// A number without a leading zero, of a few digits.
bool EatNumber(std::wstring_view& name, int& number) {
  size_t digits = 0;
  number = 0;
  while (digits < name.size() && digits < 4 && name[digits] >= L'0' && name[digits] <= L'9') {
    number = number * 10 + (name[digits] - L'0');
    ++digits;
  }
  if (digits == 0 || name[0] == L'0') return false;
  name.remove_prefix(digits);
  return true;
}

}  // namespace

std::optional<int> PictureSetOfFile(std::wstring_view name) {
  int set = 0, n = 0;
  if (!EatWord(name, L"tremblix-") || !EatNumber(name, set) || !EatWord(name, L"-") ||
      !EatNumber(name, n) || !EatWord(name, L".bmp")) {
    return std::nullopt;
  }
  if (!name.empty() && !EatWord(name, L".tmp") && !EatWord(name, L".old")) return std::nullopt;
  if (!name.empty() || set < 2) return std::nullopt;
  return set;
}

std::wstring MonitorsFilePath(std::wstring_view folder) {
  if (folder.empty()) return std::wstring();
  return Join(folder, L"Tremblix.monitors");
}

namespace {

// A file beside the program and the user's own copy of it that Windows makes
// where the folder cannot be written: C:\Windows\SysWOW64\x is kept as
// %LOCALAPPDATA%\VirtualStore\Windows\SysWOW64\x, the path without its drive.
void AddWithVirtualisedCopy(std::wstring_view folder, std::wstring_view local_app_data,
                            std::vector<std::wstring>& files) {
  if (folder.empty()) return;
  while (folder.size() > 3 && folder.back() == L'\\') folder.remove_suffix(1);
  const bool has_drive = folder.size() >= 2 && folder[1] == L':';
  std::wstring_view rest = has_drive ? folder.substr(2) : folder;
  if (!local_app_data.empty() && has_drive && !rest.empty() && rest[0] == L'\\') {
    std::wstring store(local_app_data);
    store += L"\\VirtualStore";
    if (rest.size() > 1) store += rest;
    files.push_back(Join(store, L"Tremblix.ini"));
  }
  // Joined as it stands: at a drive root that doubles the backslash, which
  // the profile functions accept.
  files.push_back(Join(folder, L"Tremblix.ini"));
}

}  // namespace

SettingsPlace SettingsPlaceOf(Edition edition, std::wstring_view program_folder,
                              std::wstring_view roaming_user_folder,
                              std::wstring_view local_app_data, std::wstring_view wow64_folder) {
  SettingsPlace place;
  if (roaming_user_folder.empty()) {
    place.file = Join(program_folder, L"Tremblix.ini");
    return place;
  }
  place.file = Join(roaming_user_folder, L"Tremblix.ini");
  // Where this edition's earlier versions kept the file: the only switch.
  const std::wstring_view earlier_folder =
      edition == Edition::k32Bit ? program_folder : wow64_folder;
  AddWithVirtualisedCopy(earlier_folder, local_app_data, place.earlier);
  return place;
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
