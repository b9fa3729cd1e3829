// Any argument text the platform may hand over: start-up dispatches into at
// most one mode, and a handle is read from the fourth character on.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "saver/startup/command_line.h"
#include "saver/startup/startup.h"

using namespace tremblix;

namespace {

class CountingHost : public StartupHost {
 public:
  bool TopLevelWindowExists(const std::string&) override { return false; }
  void LoadSettings(MusicFileLook) override {}
  bool FileExists(const std::string&) override { return true; }
  void ShowMissingRendererMessage(std::optional<int32_t>) override { std::abort(); }
  void ShowSettingsDialog(int32_t) override { ++modes; }
  void EmbedPreview(int32_t) override { ++modes; }
  void DeclareDialogDpiAware() override {}
  void DeclareDpiAware() override {}
  void HideCursor() override {}
  void LoadFullScreenRun() override { ++modes; }
  void RunCompanion() override { ++modes; }
  void EndProgram() override { ended = true; }
  int modes = 0;
  bool ended = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view args(reinterpret_cast<const char*>(data), size);
  std::string letter = SwitchLetter(args);
  if (letter.size() > 1 || (size >= 2) != (letter.size() == 1)) std::abort();
  int32_t handle = HostHandle(args);
  if (size < 4 && handle != 0) std::abort();

  CountingHost host;
  Main(host, args, "C:\\Saver");
  if (host.modes > 1) std::abort();
  if (host.modes == 0 && !host.ended) std::abort();
  return 0;
}
