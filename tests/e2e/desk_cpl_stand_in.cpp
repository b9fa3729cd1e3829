// desk.cpl for the installer's tests: Wine has no display settings, so this
// stands in for the entry that the Install verb of a .scr runs,
//   rundll32.exe desk.cpl,InstallScreenSaver PATH
// and writes PATH, as UTF-8, to C:\install-verb.txt.
#include <windows.h>

extern "C" __declspec(dllexport) void CALLBACK InstallScreenSaverW(HWND, HINSTANCE,
                                                                   LPWSTR command_line, int) {
  char path[MAX_PATH * 3];
  const int size = WideCharToMultiByte(CP_UTF8, 0, command_line, -1, path, sizeof path,
                                       nullptr, nullptr);
  if (size <= 0) return;
  HANDLE file = CreateFileW(L"C:\\install-verb.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written;
  WriteFile(file, path, static_cast<DWORD>(size - 1), &written, nullptr);
  CloseHandle(file);
}
