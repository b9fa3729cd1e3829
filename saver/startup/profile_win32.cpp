#include "saver/startup/profile_win32.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "saver/common/places.h"
#include "saver/common/places_win32.h"
#include "saver/common/wide_text_win32.h"

namespace tremblix {

namespace {

std::wstring Wow64Folder() {
  wchar_t path[MAX_PATH] = {};
  const UINT length = GetSystemWow64DirectoryW(path, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

}  // namespace

bool AnsiLeadByte(uint8_t byte) { return IsDBCSLeadByte(byte) != 0; }

// The wide profile functions, with names and values turned into wide text
// from the ANSI code page and back, as the ANSI functions do: the file keeps
// the same bytes, and its path may hold letters no code page spells.
uint32_t Win32Profile::ProfileRead(const std::string& section, const std::string& key,
                                   const std::string& fallback, char* buffer, uint32_t size,
                                   const std::wstring& file) {
  if (size == 0) return 0;
  std::vector<wchar_t> value(size, L'\0');
  GetPrivateProfileStringW(Wide(section, CP_ACP).c_str(), Wide(key, CP_ACP).c_str(),
                           Wide(fallback, CP_ACP).c_str(), value.data(), size, file.c_str());
  const std::string bytes = Narrow(value.data(), CP_ACP);
  // Cut to the buffer as the ANSI call does, but between characters.
  size_t length = 0;
  while (length < bytes.size()) {
    const size_t next = length + (IsDBCSLeadByte(static_cast<BYTE>(bytes[length])) ? 2 : 1);
    if (next > size - 1 || next > bytes.size()) break;
    length = next;
  }
  std::memcpy(buffer, bytes.data(), length);
  buffer[length] = '\0';
  return static_cast<uint32_t>(length);
}

bool Win32Profile::ProfileWrite(const std::string& section, const std::string& key,
                                const std::string& value, const std::wstring& file) {
  return WritePrivateProfileStringW(Wide(section, CP_ACP).c_str(), Wide(key, CP_ACP).c_str(),
                                    Wide(value, CP_ACP).c_str(), file.c_str());
}

bool Win32Profile::ProfileDelete(const std::string& section, const std::string& key,
                                 const std::wstring& file) {
  return WritePrivateProfileStringW(Wide(section, CP_ACP).c_str(), Wide(key, CP_ACP).c_str(),
                                    nullptr, file.c_str());
}

namespace {

bool OpensForReading(const std::string& path) {
  // A folder cannot be opened this way, which is what we want.
  HANDLE file = CreateFileW(Wide(path, CP_UTF8).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

}  // namespace

// One for the program: the run asks again about the file the settings named,
// and a check of it still out is not started twice.
Presence FilePresence(const std::string& path) {
  static BoundedPresence presence(&OpensForReading, std::chrono::milliseconds(1000));
  return presence.Ask(path);
}

// A file whose open does not answer within the bound (a share that has
// gone) is kept: only a file known not to open is forgotten, and the run
// looks for it again before it plays it.
bool Win32Profile::CanOpenForReading(const std::string& path) {
  return FilePresence(path) != Presence::kGone;
}

std::optional<std::string> Win32Profile::ToAnsi(const std::string& utf8) {
  return NarrowExactly(Wide(utf8, CP_UTF8), CP_ACP);
}

std::string Win32Profile::FromAnsi(const std::string& ansi) {
  return Narrow(Wide(ansi, CP_ACP), CP_UTF8);
}

std::optional<std::string> Win32Profile::ShortPath(const std::string& utf8) {
  std::optional<std::wstring> short_path = ShortPathOf(Wide(utf8, CP_UTF8));
  if (!short_path) return std::nullopt;
  return Narrow(*short_path, CP_UTF8);
}

bool Win32Profile::FileThere(const std::wstring& path) { return tremblix::FileThere(path); }

bool Win32Profile::CopyWhole(const std::wstring& from, const std::wstring& to) {
  return CopyFileW(from.c_str(), to.c_str(), FALSE) != 0;
}

bool Win32Profile::PutInPlace(const std::wstring& from, const std::wstring& to) {
  // A rename within the folder: the file is the old one or the new one whole.
  return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
         0;
}

void Win32Profile::Remove(const std::wstring& path) { DeleteFileW(path.c_str()); }

std::string ThisProgramFolder() {
  std::vector<wchar_t> path(32768);
  DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  // UTF-8: no byte of a longer character is a backslash or a colon.
  return ProgramFolder(Narrow(std::wstring(path.data(), length), CP_UTF8), &NoLeadBytes);
}

std::wstring ThisSettingsFile() {
  const std::wstring program_folder = Wide(ThisProgramFolder(), CP_UTF8);
  const std::wstring roaming = KnownFolder(CSIDL_APPDATA, true);
  std::wstring folder = roaming.empty() ? std::wstring() : UserFolder(roaming);
  if (!FolderThere(folder, true)) folder.clear();
  const SettingsPlace place = SettingsPlaceOf(kThisEdition, program_folder, folder,
                                              KnownFolder(CSIDL_LOCAL_APPDATA), Wow64Folder());
  const std::wstring earlier = SettingsToTakeOver(FileThere(place.file), place.earlier, &FileThere);
  if (!earlier.empty()) CopyFileW(earlier.c_str(), place.file.c_str(), TRUE);
  return place.file;
}

}  // namespace tremblix
