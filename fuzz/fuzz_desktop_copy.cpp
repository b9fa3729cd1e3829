// The companion's copy as a run reads it from memory anyone in the session
// could have made under its name: a header that reads is one whose pixels
// all lie within the memory. And the saver's values as the companion reads
// them from the registry.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "saver/companion/companion.h"
#include "saver/run/desktop_copy.h"

using namespace tremblix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (NumberOfText(std::wstring(data, data + size)) > 366u * 24 * 3600) std::abort();
  const std::optional<DesktopCopy> copy = ReadDesktopCopy(data, size);
  for (size_t i = 0; copy && i < copy->monitors.size(); ++i) {
    const ScreenRect& m = copy->monitors[i];
    if (copy->offsets[i] < kCopyHeaderBytes ||
        copy->offsets[i] + uint64_t(m.Width()) * m.Height() * 4 > size) {
      std::abort();
    }
  }
  return 0;
}
