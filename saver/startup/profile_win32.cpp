#include "saver/startup/profile_win32.h"

#include <windows.h>

#include <vector>

namespace tremblix {

bool AnsiLeadByte(uint8_t byte) { return IsDBCSLeadByte(byte) != 0; }

uint32_t Win32Profile::ProfileRead(const std::string& section, const std::string& key,
                                        const std::string& fallback, char* buffer, uint32_t size,
                                        const std::string& file) {
  return GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer, size,
                                  file.c_str());
}

bool Win32Profile::ProfileWrite(const std::string& section, const std::string& key,
                                      const std::string& value, const std::string& file) {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str());
}

bool Win32Profile::CanOpenForReading(const std::string& path) {
  // A folder cannot be opened this way, which is what we want.
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

std::string ThisProgramFolder() {
  std::vector<char> path(32768);
  DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
  return ProgramFolder(std::string_view(path.data(), length), &AnsiLeadByte);
}

}  // namespace tremblix
