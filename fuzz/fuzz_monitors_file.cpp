// The saver's file of picture sets as the renderer reads it, and the names
// of the pictures' folder as the saver reads them: anything is either a file
// that reads back as written, or nothing.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "renderer/screen_layout.h"
#include "saver/common/monitors.h"
#include "saver/common/places.h"

using namespace tremblix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::optional<MonitorsFile> file = ParseMonitorsFile(text);
  if (file) {
    const std::optional<MonitorsFile> again = ParseMonitorsFile(FormatMonitorsFile(*file));
    if (!again || again->all_monitors != file->all_monitors || again->sets != file->sets) {
      std::abort();
    }
    if (file->sets.size() > kMostPictureSets) std::abort();
    // Whatever the file says, each monitor shows a set the file has, or the
    // primary's, and the primary always its own.
    const std::vector<Monitor> desk = {{{0, 0, 1600, 1200}, true},
                                       {{1600, 0, 3200, 1200}, false},
                                       {{-1280, 0, 0, 1024}, false}};
    const ScreenLayout layout = LayOutScreen(desk, file);
    if (layout.views.empty() || layout.views.front().picture_set != 1) std::abort();
    for (const SceneView& view : layout.views) {
      if (view.picture_set < 1 || view.picture_set > kMostPictureSets) std::abort();
    }
  }
  const std::wstring name(text.begin(), text.end());
  if (const std::optional<int> set = PictureSetOfFile(name)) {
    if (*set < 2) std::abort();
  }
  return 0;
}
