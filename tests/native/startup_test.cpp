#include "saver/startup/startup.h"

#include <map>
#include <optional>

#include <gtest/gtest.h>

#include "saver/common/dpi_awareness.h"
#include "saver/startup/owner.h"

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
  void LoadSettings(MusicFileLook look) override {
    calls.push_back(look == MusicFileLook::kByTheRun ? "settings, music looked for later" : "settings");
  }
  bool FileExists(const std::string& path) override {
    calls.push_back("exists " + path);
    return renderer_present;
  }
  void ShowMissingRendererMessage(std::optional<int32_t> owner) override {
    calls.push_back(owner ? "message owned " + std::to_string(*owner) : "message");
  }
  void ShowSettingsDialog(int32_t owner) override {
    calls.push_back("dialog " + std::to_string(owner));
  }
  void DeclareDialogDpiAware() override { calls.push_back("dialog dpi aware"); }
  void EmbedPreview(int32_t host_window) override {
    calls.push_back("preview " + std::to_string(host_window));
  }
  void DeclareDpiAware() override { calls.push_back("dpi aware"); }
  void HideCursor() override { calls.push_back("hide cursor"); }
  void LoadFullScreenRun() override { calls.push_back("run"); }
  void RunCompanion() override { calls.push_back("companion"); }
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
  // dialog for its own scaling, before the renderer check's message.
  // The run's photograph does not wait for the look for its music.
  const std::string later = "settings, music looked for later";
  EXPECT_EQ(Start("/s"), Expect({later, check, "dpi aware", "hide cursor", "run"}));
  EXPECT_EQ(Start("/S"), Expect({later, check, "dpi aware", "hide cursor", "run"}));
  EXPECT_EQ(Start("-s"), Expect({later, check, "dpi aware", "hide cursor", "run"}));
  EXPECT_EQ(Start("/c"), Expect({"settings", "dialog dpi aware", check, "dialog 0", "end"}));
  EXPECT_EQ(Start("/p 1234"), Expect({"preview 1234"}));
  EXPECT_EQ(Start("/p"), Expect({"preview 0"}));
  EXPECT_EQ(Start("/a"), Expect({"settings", check, "end"}));
  EXPECT_EQ(Start("/"), Expect({"settings", check, "end"}));
}

// Explorer's Configure starts a saver without arguments.
TEST(Main, NoArgumentsOpenTheSettingsAsSlashCDoes) {
  EXPECT_EQ(Start(""), Start("/c"));
  EXPECT_EQ(Start("", false), Start("/c", false));
}

TEST(Main, TheDialogIsGivenTheHandleThatFollowsTheSwitch) {
  EXPECT_EQ(Start("/c:1234").at(5), "dialog 1234");
  EXPECT_EQ(Start("/C 1234").at(5), "dialog 1234");
  EXPECT_EQ(Start("/c:4294967295").at(5), "dialog -1");
  EXPECT_EQ(Start("/p 4294967295").at(2), "preview -1");
}

TEST(Main, MissingRendererShowsTheMessageInEveryModeButThePreview) {
  const std::string check = "exists C:\\Saver\\Tremblix.dll";
  EXPECT_EQ(Start("/s", false), Expect({"settings, music looked for later", check, "message", "end"}));
  EXPECT_EQ(Start("/x", false), Expect({"settings", check, "message", "end"}));
  // Owned as the dialog would be.
  EXPECT_EQ(Start("/c:77", false),
            Expect({"settings", "dialog dpi aware", check, "message owned 77", "end"}));
  EXPECT_EQ(Start("", false),
            Expect({"settings", "dialog dpi aware", check, "message owned 0", "end"}));
  EXPECT_EQ(Start("/p 1234", false), Expect({"preview 1234"}));
}

TEST(Main, EitherMarkerEndsAtOnceAfterBothLookups) {
  for (const char* marker : {"Tremblix_Main", "<Tremblix>"}) {
    for (const char* args : {"/s", "/c", "/p 1234", ""}) {
      RecordingHost host;
      host.windows.insert(marker);
      EXPECT_EQ(Start(host, args), Expect({"end"})) << marker << ' ' << args;
    }
    // The companion is no mode: it starts beside either.
    RecordingHost host;
    host.windows.insert(marker);
    EXPECT_EQ(Start(host, "/w"), (Calls{"companion", "end"}));
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

// Windows as a test lays them out: each with its top-level ancestor, class,
// and whether it is shown; 1 is the desktop and 2 the shell's window.
struct FakeWindow { WindowRef root; const char* class_name = "Page"; bool visible = true, cloaked = false; };

class FakeWindows : public OwnerWindows {
 public:
  bool IsWindow(WindowRef w) override { return windows.count(w) > 0; }
  WindowRef Root(WindowRef w) override { return windows.count(w) ? windows[w].root : 0; }
  WindowRef Foreground() override { return foreground; }
  WindowRef Desktop() override { return 1; }
  WindowRef ShellWindow() override { return 2; }
  std::string ClassName(WindowRef w) override { return windows[w].class_name; }
  bool IsVisible(WindowRef w) override { return windows[w].visible; }
  bool IsCloaked(WindowRef w) override { return windows[w].cloaked; }

  std::map<WindowRef, FakeWindow> windows = {
      {10, {10}}, {11, {10}}, {20, {20}}, {1, {1}}, {2, {2}},
      {3, {3, "Shell_TrayWnd"}}, {4, {3}}, {5, {5, "Shell_SecondaryTrayWnd"}},
      {6, {6, "Progman"}}, {7, {7, "WorkerW"}}, {8, {8, "Page", false}},
      {9, {9, "Page", true, true}}, {-5, {-5}}};
  WindowRef foreground = 20;
};

// The named window's top-level ancestor, else the foreground's; never one of the shell's, a
// hidden or a cloaked one. A handle above 2^31 comes negative and widens with its sign.
TEST(ChooseOwner, IsThePageThatAskedNeverTheShellNorAWindowNotShown) {
  struct Row { int32_t named; WindowRef foreground, owner; } rows[] = {{11, 20, 10}, {10, 20, 10}, {0, 20, 20},  {999, 20, 20}, {0, 11, 10},
              {0, 0, 0},    {1, 20, 0},   {2, 20, 0},   {3, 20, 0},    {4, 20, 0},
              {5, 20, 0},   {6, 20, 0},   {7, 20, 0},   {8, 20, 0},    {9, 20, 0},
              {0, 5, 0},    {0, 7, 0},    {0, 9, 0},    {-5, 20, -5}};
  for (const Row& row : rows) {
    FakeWindows windows;
    windows.foreground = row.foreground;
    EXPECT_EQ(ChooseOwner(row.named, windows), row.owner) << "named " << row.named << ", foreground " << row.foreground;
  }
}

// Windows that take the ways of declaring awareness it has, as each version
// does. The dialog never takes per-monitor version 1.
struct TakingWindows : AwarenessRequests {
  std::set<Awareness> taken;
  bool Declare(Awareness awareness) override { return taken.count(awareness) > 0; }
};

TEST(Awareness, RealPixelsTakeAnyPerMonitorWayTheDialogVersion2ElseTheSystems) {
  using A = Awareness;
  struct Row { const char* windows; std::set<A> taken; std::optional<A> real_pixels, dialog; } rows[] = {
      {"10 from 1703", {A::kPerMonitorV2, A::kPerMonitor, A::kPerMonitorShcore, A::kSystem}, A::kPerMonitorV2, A::kPerMonitorV2},
      {"10 1607", {A::kPerMonitor, A::kPerMonitorShcore, A::kSystem}, A::kPerMonitor, A::kSystem},
      {"8.1", {A::kPerMonitorShcore, A::kSystem}, A::kPerMonitorShcore, A::kSystem},
      {"Vista to 8", {A::kSystem}, A::kSystem, A::kSystem},
      {"XP, or declared already", {}, std::nullopt, std::nullopt},
  };
  for (const Row& row : rows) {
    TakingWindows for_pixels, for_dialog;
    for_pixels.taken = for_dialog.taken = row.taken;
    EXPECT_EQ(DeclareRealPixels(for_pixels), row.real_pixels) << row.windows;
    EXPECT_EQ(DeclareForDialog(for_dialog), row.dialog) << row.windows;
  }
}

}  // namespace
}  // namespace tremblix
