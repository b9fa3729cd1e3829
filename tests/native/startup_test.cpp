#include "saver/startup/startup.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace tremblix {
namespace {

// Records what start-up asks for, in order.
class RecordingHost : public StartupHost {
 public:
  bool TopLevelWindowExists(const std::string& caption) override {
    calls.push_back("find " + caption);
    return windows.count(caption) > 0;
  }
  void LoadSettings() override { calls.push_back("settings"); }
  bool FileExists(const std::string& path) override {
    calls.push_back("exists " + path);
    return renderer_present;
  }
  void ShowMissingRendererMessage() override { calls.push_back("message"); }
  void ShowSettingsDialog() override { calls.push_back("dialog"); }
  void EmbedPreview(int32_t host_window) override {
    calls.push_back("preview " + std::to_string(host_window));
  }
  void DeclareDpiAware() override { calls.push_back("dpi aware"); }
  void HideCursor() override { calls.push_back("hide cursor"); }
  void LoadFullScreenRun() override { calls.push_back("run"); }
  void EndProgram() override { calls.push_back("end"); }

  std::set<std::string> windows;
  bool renderer_present = true;
  std::vector<std::string> calls;
};

using Calls = std::vector<std::string>;
const std::string kGuard[] = {"find Tremblix_Main", "find <Tremblix>"};

Calls Start(RecordingHost& host, const std::string& args) {
  Main(host, args, "C:\\Saver");
  return host.calls;
}

Calls Start(const std::string& args, bool renderer_present = true) {
  RecordingHost host;
  host.renderer_present = renderer_present;
  return Start(host, args);
}

Calls Expect(std::initializer_list<std::string> after_guard) {
  Calls calls(std::begin(kGuard), std::end(kGuard));
  calls.insert(calls.end(), after_guard);
  return calls;
}

TEST(Main, DispatchTable) {
  const std::string check = "exists C:\\Saver\\Tremblix.dll";
  // The full screen asks for real pixels before it makes any window; the
  // dialog and the preview are left to Windows' scaling.
  EXPECT_EQ(Start("/s"), Expect({"settings", check, "dpi aware", "hide cursor", "run"}));
  EXPECT_EQ(Start("/S"), Expect({"settings", check, "dpi aware", "hide cursor", "run"}));
  EXPECT_EQ(Start("-s"), Expect({"settings", check, "dpi aware", "hide cursor", "run"}));
  EXPECT_EQ(Start(""), Expect({"settings", check, "dpi aware", "run"}));
  EXPECT_EQ(Start("/c"), Expect({"settings", check, "dialog", "end"}));
  EXPECT_EQ(Start("/c:1234"), Expect({"settings", check, "dialog", "end"}));
  EXPECT_EQ(Start("/p 1234"), Expect({"preview 1234"}));
  EXPECT_EQ(Start("/p"), Expect({"preview 0"}));
  EXPECT_EQ(Start("/a"), Expect({"settings", check, "end"}));
  EXPECT_EQ(Start("/"), Expect({"settings", check, "end"}));
}

TEST(Main, MissingRendererShowsTheMessageInEveryModeButThePreview) {
  const std::string check = "exists C:\\Saver\\Tremblix.dll";
  for (const char* args : {"/s", "/c", "/x", ""}) {
    EXPECT_EQ(Start(args, false), Expect({"settings", check, "message", "end"})) << args;
  }
  EXPECT_EQ(Start("/p 1234", false), Expect({"preview 1234"}));
}

TEST(Main, EitherMarkerEndsAtOnceAfterBothLookups) {
  for (const char* marker : {"Tremblix_Main", "<Tremblix>"}) {
    for (const char* args : {"/s", "/c", "/p 1234", ""}) {
      RecordingHost host;
      host.windows.insert(marker);
      EXPECT_EQ(Start(host, args), Expect({"end"})) << marker << ' ' << args;
    }
  }
}

TEST(Main, APreviewIsNoMarker) {
  RecordingHost host;
  host.windows.insert("Preview Window");
  EXPECT_EQ(Start(host, "/s").back(), "run");
}

TEST(Main, TheRendererIsLookedForBesideTheProgramAsTextJoined) {
  RecordingHost host;
  Main(host, "/s", "C:\\");
  EXPECT_EQ(host.calls[3], "exists C:\\\\Tremblix.dll");
}

}  // namespace
}  // namespace tremblix
