// The graphics driver's value as the renderer reads it from the registry
// (REG_SZ or REG_MULTI_SZ, UTF-16): whatever it holds, only folders below
// the driver store are added.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "renderer/driver_folders.h"

using namespace tremblix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::wstring value;
  for (size_t i = 0; i + 1 < size; i += 2) value += static_cast<wchar_t>(data[i] | data[i + 1] << 8);
  const std::wstring store = L"c:\\windows\\system32\\driverstore\\filerepository\\";
  const auto same = [](const std::wstring& p) { return std::optional<std::wstring>(p); };
  for (std::wstring folder : DriverFoldersToAdd(L"C:\\Windows\\System32", {value}, same)) {
    for (wchar_t& c : folder) c = c >= L'A' && c <= L'Z' ? c + 32 : c;
    if (folder.size() <= store.size() || folder.compare(0, store.size(), store) != 0 ||
        folder.find(L"\\..") != std::wstring::npos || folder.find(L'~') != std::wstring::npos) {
      std::abort();
    }
  }
  return 0;
}
