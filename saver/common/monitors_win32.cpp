#include "saver/common/monitors_win32.h"

#include "saver/common/places.h"
#include "saver/common/places_win32.h"

namespace tremblix {

namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  MONITORINFO info = {};
  info.cbSize = sizeof(info);
  if (GetMonitorInfoW(monitor, &info)) {
    const RECT& r = info.rcMonitor;
    reinterpret_cast<std::vector<Monitor>*>(list)->push_back(
        {{r.left, r.top, r.right, r.bottom}, (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  }
  return TRUE;
}

}  // namespace

std::vector<Monitor> ListMonitors() {
  std::vector<Monitor> monitors;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  if (monitors.empty()) {
    monitors.push_back(
        {{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, true});
  }
  return monitors;
}

std::optional<MonitorsFile> ReadMonitorsFile(const std::wstring& folder) {
  const std::wstring path = MonitorsFilePath(folder);
  if (path.empty()) return std::nullopt;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  // Far more than the most sets take; a longer file is no file of ours.
  char text[4096];
  DWORD read = 0;
  const bool ok = ReadFile(file, text, sizeof(text), &read, nullptr) && read < sizeof(text);
  CloseHandle(file);
  if (!ok) return std::nullopt;
  return ParseMonitorsFile(std::string_view(text, read));
}

bool WriteMonitorsFile(const std::wstring& folder, const MonitorsFile& contents) {
  const std::wstring path = MonitorsFilePath(folder);
  if (path.empty()) return false;
  const std::wstring temp = path + L".tmp";
  const std::string text = FormatMonitorsFile(contents);
  const bool ok = WriteWholeFile(temp, text.data(), text.size()) &&
                  MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
  if (!ok) {
    DeleteFileW(temp.c_str());
    DeleteFileW(path.c_str());
  }
  return ok;
}

int PrimaryRefreshRate() {
  DEVMODEW mode = {};
  mode.dmSize = sizeof(mode);
  if (!EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode)) return 0;
  return static_cast<int>(mode.dmDisplayFrequency);
}

}  // namespace tremblix
