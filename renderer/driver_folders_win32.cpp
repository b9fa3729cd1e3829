#include "renderer/driver_folders_win32.h"

#include <windows.h>
#include <setupapi.h>

#include <optional>
#include <string>
#include <vector>

#include "renderer/driver_folders.h"
#include "saver/common/wide_text_win32.h"
#include "timing/launch_times_win32.h"

namespace tremblix {

namespace {

constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
constexpr DWORD kSearchUserDirs = 0x00000400;  // LOAD_LIBRARY_SEARCH_USER_DIRS
// GUID_DEVCLASS_DISPLAY, the display adapters.
constexpr GUID kDisplayClass = {0x4d36e968, 0xe325, 0x11ce,
                                {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};
// Far beyond any driver's paths: a longer value is no driver's.
constexpr DWORD kLongestValue = 64 * 1024;

// Functions Windows may lack, looked up in kernel32.
template <typename Function>
Function FromKernel32(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name)));
}

bool RunsUnderWow64() {
  if (sizeof(void*) != 4) return false;
  using IsWow64 = BOOL(WINAPI*)(HANDLE, PBOOL);
  const auto is_wow64 = FromKernel32<IsWow64>("IsWow64Process");
  BOOL wow64 = FALSE;
  return is_wow64 && is_wow64(GetCurrentProcess(), &wow64) && wow64;
}

// A REG_SZ's or a REG_MULTI_SZ's text, NULs included.
std::optional<std::wstring> DriverValue(HKEY key, const wchar_t* name) {
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_MULTI_SZ) || size == 0 || size > kLongestValue) {
    return std::nullopt;
  }
  std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value[0]), &size) !=
          ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_MULTI_SZ)) {
    return std::nullopt;
  }
  value.resize(size / sizeof(wchar_t));
  return value;
}

// The OpenGL driver value of every display adapter present.
std::vector<std::wstring> DriverValues() {
  const wchar_t* name = RunsUnderWow64() ? L"OpenGLDriverNameWow" : L"OpenGLDriverName";
  std::vector<std::wstring> values;
  HDEVINFO adapters = SetupDiGetClassDevsW(&kDisplayClass, nullptr, nullptr, DIGCF_PRESENT);
  if (adapters == INVALID_HANDLE_VALUE) return values;
  SP_DEVINFO_DATA adapter = {};
  adapter.cbSize = sizeof(adapter);
  for (DWORD i = 0; SetupDiEnumDeviceInfo(adapters, i, &adapter); ++i) {
    HKEY key = SetupDiOpenDevRegKey(adapters, &adapter, DICS_FLAG_GLOBAL, 0, DIREG_DRV,
                                    KEY_QUERY_VALUE);
    if (key == INVALID_HANDLE_VALUE) continue;
    if (std::optional<std::wstring> value = DriverValue(key, name)) values.push_back(*value);
    RegCloseKey(key);
  }
  SetupDiDestroyDeviceInfoList(adapters);
  return values;
}

// The full path with every part in its long form; nothing for a file that
// is not there.
std::optional<std::wstring> Resolved(const std::wstring& path) {
  DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (length == 0) return std::nullopt;
  std::wstring full(length, L'\0');
  length = GetFullPathNameW(path.c_str(), length, &full[0], nullptr);
  if (length == 0 || length >= full.size()) return std::nullopt;
  full.resize(length);
  length = GetLongPathNameW(full.c_str(), nullptr, 0);
  if (length == 0) return std::nullopt;
  std::wstring long_path(length, L'\0');
  length = GetLongPathNameW(full.c_str(), &long_path[0], length);
  if (length == 0 || length >= long_path.size()) return std::nullopt;
  long_path.resize(length);
  return long_path;
}

}  // namespace

void AddGraphicsDriverFolders() {
  using AddDirectory = void*(WINAPI*)(const wchar_t*);
  using SetDirectories = BOOL(WINAPI*)(DWORD);
  const auto add = FromKernel32<AddDirectory>("AddDllDirectory");
  const auto set = FromKernel32<SetDirectories>("SetDefaultDllDirectories");
  wchar_t system_folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(system_folder, MAX_PATH);
  if (!add || !set || length == 0 || length >= MAX_PATH) return;
  bool added = false;
  for (const std::wstring& folder : DriverFoldersToAdd(std::wstring(system_folder, length),
                                                       DriverValues(), Resolved)) {
    if (!add(folder.c_str())) continue;
    added = true;
    launch_times::Mark("dll driver folder added: %s", Narrow(folder, CP_UTF8).c_str());
  }
  if (added) set(kSearchSystem32 | kSearchUserDirs);
}

}  // namespace tremblix
