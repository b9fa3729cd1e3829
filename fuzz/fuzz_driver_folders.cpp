// The graphics driver's registry value (REG_SZ or REG_MULTI_SZ, UTF-16) as
// the renderer reads it: whatever it holds, only folders below the driver
// store come out.
#include <cstdint>
#include <cstdlib>

#include "renderer/driver_folders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::wstring value;
  for (size_t i = 0; i + 1 < size; i += 2) value += static_cast<wchar_t>(data[i] | data[i + 1] << 8);
  const auto same = [](const std::wstring& path) { return std::optional<std::wstring>(path); };
  const std::wstring store = L"c:\\windows\\system32\\driverstore\\filerepository\\";
  for (std::wstring f : tremblix::DriverFoldersToAdd(L"C:\\Windows\\System32", {value}, same)) {
    for (wchar_t& c : f) c = c >= L'A' && c <= L'Z' ? c + 32 : c;
    if (f.size() <= store.size() || f.compare(0, store.size(), store) != 0 ||
        f.find(L".\\") != std::wstring::npos || f.back() == L'.' ||
        f.find(L'~') != std::wstring::npos) {
      std::abort();
    }
  }
  return 0;
}
