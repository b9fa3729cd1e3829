// The settings dialog's decisions: loading, choosing a kind, choosing a file,
// saving, cancelling and the home page, over a stand-in window.
#include "saver/settings/settings_dialog.h"

#include <gtest/gtest.h>

#include "saver/settings/zoom.h"
#include "tests/native/fake_profile.h"

namespace tremblix {
namespace {

constexpr char kFolder[] = "C:\\Saver";
constexpr wchar_t kIni[] = L"C:\\Saver\\Tremblix.ini";

class FakeHost : public DialogHost {
 public:
  double ScreenWidth() override { return 19200; }
  double ScreenHeight() override { return 15360; }
  double WindowWidth() override { return 7530; }
  double WindowHeight() override { return 4020; }
  void Move(int32_t left, int32_t top) override {
    moved_left = left;
    moved_top = top;
  }
  bool OwnerPlace(ScreenBox& o, ScreenBox& work_area, ScreenBox& window) override {
    if (!owned) return false;
    o = owner;
    work_area = {0, 0, 1280, 994};
    window = {0, 0, 502, 268};
    return true;
  }
  void MoveInPixels(int32_t left, int32_t top) override {
    pixel_left = left;
    pixel_top = top;
  }
  void PrepareButtons() override { ++prepared; }
  void ShowMark(int index, bool filled) override { filled_mark[index] = filled; }
  void ShowMonitorsMark(bool checked) override { monitors_mark = checked ? "checked" : "open"; }
  void SetRepeatEnabled(bool enabled) override { repeat_enabled = enabled; }
  void SetFileButtonEnabled(bool enabled) override { file_enabled = enabled; }
  void SetRepeatText(const std::string& text) override { repeat_text = text; }
  std::string RepeatText() override { return repeat_text; }
  void AddRepeatItem(const std::string& text) override { repeat_list.push_back(text); }
  void SetFileLabel(int index, const std::string& path) override {
    EXPECT_EQ(index, 0);
    file_label = path;
  }
  bool CursorPos(int32_t& x, int32_t& y) override {
    x = cursor_x;
    y = cursor_y;
    return cursor_ok;
  }
  void ZoomOpen() override { calls.push_back("ZoomOpen"); }
  void ZoomClose() override { calls.push_back("ZoomClose"); }
  void SetMousePointer(MousePointer pointer) override {
    calls.push_back(pointer == MousePointer::kDefault ? "default" : "hourglass");
  }
  std::optional<std::string> ChooseFile(const std::string& start_folder) override {
    chooser_folders.push_back(start_folder);
    return chosen;
  }
  void OpenHomePage(const std::string& address) override { calls.push_back("open " + address); }
  void ShowRepeatOutOfRange() override { ++refusals; }
  void ShowSaveFailed() override { ++save_failures; }
  void ShowFileCannotBeChosen() override { ++files_refused; }
  void Unload() override { ++unloads; }

  int files_refused = 0;
  int32_t moved_left = -1, moved_top = -1;
  bool owned = false;
  ScreenBox owner{};
  int32_t pixel_left = -1, pixel_top = -1;
  int prepared = 0;
  bool filled_mark[3] = {};
  std::string monitors_mark = "untouched";
  bool repeat_enabled = true, file_enabled = true;
  std::string repeat_text = "untouched";
  std::vector<std::string> repeat_list;
  std::string file_label = "untouched";
  int32_t cursor_x = 0, cursor_y = 0;
  bool cursor_ok = true;
  std::vector<std::string> calls;
  std::vector<std::string> chooser_folders;
  std::optional<std::string> chosen;
  int refusals = 0, unloads = 0, save_failures = 0;
};

class DialogTest : public ::testing::Test {
 protected:
  void Load(int16_t kind, int16_t repeat = 0, std::string file = "") {
    settings.BgmKind = kind;
    settings.BgmRepeat = repeat;
    settings.BgmFile = std::move(file);
    settings.BgmFolder = settings.BgmFile.empty() ? kFolder : FolderOf(settings.BgmFile, &NoLeadBytes);
    dialog.Form_Load();
  }
  std::vector<std::string> Filled() const {
    std::vector<std::string> filled;
    for (int i = 0; i < 3; ++i) {
      if (host.filled_mark[i]) filled.push_back(kKindCaptions[i]);
    }
    return filled;
  }
  // The values written, in order.
  std::vector<std::string> Written() const {
    std::vector<std::string> values;
    for (const auto& w : profile.writes) values.push_back(w.value);
    return values;
  }
  std::string SaveWithRepeat(const std::string& text) {
    host.repeat_text = text;
    profile.writes.clear();
    EXPECT_TRUE(dialog.Cmd_Set_Click()) << text;
    return profile.writes.size() == 4 ? profile.writes[1].value : "(not written)";
  }

  FakeHost host;
  FakeProfile profile;
  SettingsRecord settings;
  Tremblix_P dialog{host, settings, profile, kIni};
};

// Opened by a page (/c:HWND), the dialog stands over it on its monitor.
TEST_F(DialogTest, LoadCentresTheWindowOverItsOwner) {
  host.owned = true;
  host.owner = {100, 200, 700, 600};
  Load(0);
  EXPECT_EQ(host.pixel_left, 149);
  EXPECT_EQ(host.pixel_top, 266);
  EXPECT_EQ(host.moved_left, -1) << "placed across the screen as well";
  host.owner = {1200, 900, 1300, 1000};
  Load(0);
  EXPECT_EQ(host.pixel_left, 1280 - 502);
  EXPECT_EQ(host.pixel_top, 994 - 268);
}

TEST_F(DialogTest, LoadPlacesTheWindowAndPreparesTheButtons) {
  Load(0);
  EXPECT_EQ(host.moved_left, 5835);
  EXPECT_EQ(host.moved_top, 3780);
  EXPECT_EQ(host.prepared, 1);
  EXPECT_EQ(host.repeat_list.size(), 31u);
  EXPECT_EQ(host.repeat_list.front(), "");
  EXPECT_EQ(host.repeat_list[1], "1");
  EXPECT_EQ(host.repeat_list.back(), "30");
}

TEST_F(DialogTest, LoadedWithAMusicFile) {
  profile.files.insert("C:\\Music\\a.mp3");
  Load(2, 0, "C:\\Music\\a.mp3");
  EXPECT_EQ(Filled(), std::vector<std::string>{"MP3、WAV"});
  EXPECT_TRUE(host.file_enabled);
  EXPECT_FALSE(host.repeat_enabled);
  EXPECT_EQ(host.file_label, "C:\\Music\\a.mp3");
}

TEST_F(DialogTest, LoadedWithTheCdAndNoTrack) {
  Load(1, 0);
  EXPECT_EQ(Filled(), std::vector<std::string>{"音楽CD"});
  EXPECT_TRUE(host.repeat_enabled);
  EXPECT_FALSE(host.file_enabled);
  EXPECT_EQ(host.repeat_text, "");
}

TEST_F(DialogTest, LoadedWithAnUnknownKindFillsNoMarkAndSavesItBack) {
  Load(5, 7);
  EXPECT_TRUE(Filled().empty());
  EXPECT_FALSE(host.repeat_enabled);
  EXPECT_FALSE(host.file_enabled);
  EXPECT_EQ(host.repeat_text, "7");
  EXPECT_TRUE(dialog.Cmd_Set_Click());
  EXPECT_EQ(Written(), (std::vector<std::string>{" 5", " 7", "", " 1"}));
}

TEST_F(DialogTest, ARepeatBeyondTheListIsShownAndSaved) {
  Load(1, 45);
  EXPECT_EQ(host.repeat_text, "45");
  EXPECT_EQ(SaveWithRepeat("45"), " 45");
}

TEST_F(DialogTest, LoadTakesThePointerForTheZoomAndEndsWithIt) {
  host.cursor_x = 1279;
  host.cursor_y = 1023;
  Load(0);
  EXPECT_EQ(ZoomPointX, 1279);
  EXPECT_EQ(ZoomPointY, 1023);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"ZoomOpen", "default"}));
  host.cursor_ok = false;
  Load(0);
  EXPECT_EQ(ZoomPointX, 0);
  EXPECT_EQ(ZoomPointY, 0);
}

TEST_F(DialogTest, ChoosingAKindSwitchesTheMarksAndTheControls) {
  Load(0);
  host.repeat_text = "12";
  dialog.lbl_BGM_MouseDown(1);
  EXPECT_EQ(settings.BgmKind, 1);
  EXPECT_EQ(Filled(), std::vector<std::string>{"音楽CD"});
  EXPECT_TRUE(host.repeat_enabled);
  EXPECT_FALSE(host.file_enabled);
  dialog.Img_BGM_MouseDown(2);
  EXPECT_EQ(Filled(), std::vector<std::string>{"MP3、WAV"});
  EXPECT_FALSE(host.repeat_enabled);
  EXPECT_TRUE(host.file_enabled);
  dialog.lbl_BGM_MouseDown(0);
  EXPECT_EQ(Filled(), std::vector<std::string>{"なし"});
  EXPECT_FALSE(host.repeat_enabled);
  EXPECT_FALSE(host.file_enabled);
  dialog.lbl_BGM_MouseDown(1);
  EXPECT_EQ(host.repeat_text, "12");  // kept through the switches
}

TEST_F(DialogTest, RepeatTextConversion) {
  Load(1);
  EXPECT_EQ(SaveWithRepeat("abc"), " 0");
  EXPECT_EQ(SaveWithRepeat(""), " 0");
  EXPECT_EQ(SaveWithRepeat("2.5"), " 2");
  EXPECT_EQ(SaveWithRepeat("3.5"), " 4");
  EXPECT_EQ(SaveWithRepeat("-3"), "-3");
  EXPECT_EQ(SaveWithRepeat(" 12 "), " 12");
  EXPECT_EQ(SaveWithRepeat("45"), " 45");
  EXPECT_EQ(SaveWithRepeat("32767"), " 32767");
  EXPECT_EQ(SaveWithRepeat("-32768.4"), "-32768");
  EXPECT_EQ(settings.BgmRepeat, -32768);
}

TEST_F(DialogTest, RepeatFromText) {
  EXPECT_EQ(RepeatFromText("1e1"), 10);
  EXPECT_EQ(RepeatFromText("12e"), 0);  // no number
  EXPECT_EQ(RepeatFromText("0x10"), 0);
  EXPECT_EQ(RepeatFromText("32767.5"), std::nullopt);  // 32768
  EXPECT_EQ(RepeatFromText("-32768.5"), -32768);       // ties to even
  EXPECT_EQ(RepeatFromText("40000"), std::nullopt);
  EXPECT_EQ(RepeatFromText("1e999"), std::nullopt);
}

TEST_F(DialogTest, SavingWritesTheKeysInOrderAndUnloads) {
  profile.files.insert("C:\\Music\\a.mp3");
  settings.AllMonitors = false;
  Load(2, 3, "C:\\Music\\a.mp3");
  EXPECT_TRUE(dialog.Cmd_Set_Click());
  const std::wstring temp = SettingsTempFile(kIni);
  ASSERT_EQ(profile.writes.size(), 4u);
  EXPECT_EQ(profile.writes[0], (FakeProfile::Write{"Section", kKeyBgmKind, " 2", temp}));
  EXPECT_EQ(profile.writes[1], (FakeProfile::Write{"Section", kKeyBgmRepeat, " 3", temp}));
  EXPECT_EQ(profile.writes[2],
            (FakeProfile::Write{"Section", kKeyBgmFile, "C:\\Music\\a.mp3", temp}));
  EXPECT_EQ(profile.writes[3], (FakeProfile::Write{"Section", kKeyMonitors, " 0", temp}));
  EXPECT_EQ(profile.ValuesOf(kIni).size(), 4u);
  EXPECT_EQ(host.unloads, 1);
  EXPECT_EQ(host.save_failures, 0);
}

TEST_F(DialogTest, ASaveThatFailsSaysSoAndTheDialogStaysOpenWithTheChoice) {
  Load(1, 4);
  profile.refused.insert(SettingsTempFile(kIni));
  EXPECT_FALSE(dialog.Cmd_Set_Click());
  EXPECT_EQ(host.save_failures, 1);
  EXPECT_EQ(host.unloads, 0);
  EXPECT_EQ(settings.BgmKind, 1);
  EXPECT_EQ(host.repeat_text, "4");
  // Once the file can be written, the same choice saves.
  profile.refused.clear();
  EXPECT_TRUE(dialog.Cmd_Set_Click());
  EXPECT_EQ(host.unloads, 1);
  EXPECT_EQ(profile.ValuesOf(kIni).size(), 4u);
}

TEST_F(DialogTest, TheRepeatTextIsSavedWhateverTheKind) {
  Load(0);
  host.repeat_text = "9";  // the box is disabled but its text counts
  EXPECT_TRUE(dialog.Cmd_Set_Click());
  EXPECT_EQ(Written(), (std::vector<std::string>{" 0", " 9", "", " 1"}));
}

TEST_F(DialogTest, ARepeatOutOfRangeIsRefusedBeforeAnythingIsWritten) {
  Load(1);
  host.repeat_text = "40000";
  EXPECT_FALSE(dialog.Cmd_Set_Click());
  EXPECT_TRUE(profile.writes.empty());
  EXPECT_EQ(host.refusals, 1);
  EXPECT_EQ(host.unloads, 0);
  EXPECT_EQ(settings.BgmRepeat, 0);
  // Corrected, it saves.
  EXPECT_EQ(SaveWithRepeat("4"), " 4");
  EXPECT_EQ(host.unloads, 1);
}

TEST_F(DialogTest, CancelUnloadsAndWritesNothing) {
  Load(2, 0, "C:\\x.mp3");
  host.chosen = "C:\\Music\\b.wav";
  dialog.Cmd_File_Click(0);
  dialog.lbl_Monitors_KeyDown(kKeySpace);
  dialog.Cmd_Can_Click();
  EXPECT_TRUE(profile.writes.empty());
  EXPECT_EQ(host.unloads, 1);
}

TEST_F(DialogTest, UnloadZoomsClosed) {
  Load(0);
  host.calls.clear();
  dialog.Form_Unload();
  EXPECT_EQ(host.calls, std::vector<std::string>{"ZoomClose"});
}

TEST_F(DialogTest, AChosenFileIsShownAndTheNextChooserStartsInItsFolder) {
  Load(2);
  host.chosen = "C:\\Music\\b.wav";
  dialog.Cmd_File_Click(0);
  EXPECT_EQ(settings.BgmFile, "C:\\Music\\b.wav");
  EXPECT_EQ(host.file_label, "C:\\Music\\b.wav");
  EXPECT_EQ(settings.BgmFolder, "C:\\Music");
  host.chosen = "D:\\c.mp3";
  dialog.Cmd_File_Click(0);
  EXPECT_EQ(settings.BgmFolder, "D:");
  EXPECT_EQ(host.chooser_folders, (std::vector<std::string>{kFolder, "C:\\Music"}));
}

TEST_F(DialogTest, ACancelledChooserChangesNothing) {
  Load(2, 0, "C:\\Music\\a.mp3");
  host.chosen.reset();
  dialog.Cmd_File_Click(0);
  EXPECT_EQ(settings.BgmFile, "C:\\Music\\a.mp3");
  EXPECT_EQ(host.file_label, "C:\\Music\\a.mp3");
  EXPECT_EQ(settings.BgmFolder, "C:\\Music");
}

TEST_F(DialogTest, AFileWhosePathCannotBeKeptIsRefusedWithAWordAndTheEarlierStays) {
  Load(2, 0, "C:\\Music\\a.mp3");
  host.file_label = "C:\\Music\\a.mp3";
  std::string deep = "D:\\";
  for (int i = 0; i < 130; ++i) deep += "音〜";
  host.chosen = deep + ".mp3";  // 265 characters
  dialog.Cmd_File_Click(0);
  EXPECT_EQ(host.files_refused, 1);
  EXPECT_EQ(settings.BgmFile, "C:\\Music\\a.mp3");
  EXPECT_EQ(host.file_label, "C:\\Music\\a.mp3");
  EXPECT_EQ(settings.BgmFolder, "C:\\Music");

  host.chosen = "D:\\〜 café\\é.mp3";  // any letter is kept
  dialog.Cmd_File_Click(0);
  EXPECT_EQ(host.files_refused, 1);
  EXPECT_EQ(host.file_label, "D:\\〜 café\\é.mp3");
  EXPECT_EQ(settings.BgmFolder, "D:\\〜 café");
}

TEST_F(DialogTest, KindTwoWithoutAFileSavesAnEmptyName) {
  Load(0);
  dialog.lbl_BGM_MouseDown(2);
  EXPECT_TRUE(dialog.Cmd_Set_Click());
  EXPECT_EQ(Written(), (std::vector<std::string>{" 2", " 0", "", " 1"}));
}

TEST_F(DialogTest, TheMonitorsChoiceShowsTheSettingAndTurnsOverAtALeftPressOrSpace) {
  Load(0);
  EXPECT_EQ(host.monitors_mark, "checked");
  settings.AllMonitors = false;
  Load(0);
  EXPECT_EQ(host.monitors_mark, "open");

  dialog.Img_Monitors_MouseDown(kLeftButton);
  EXPECT_TRUE(settings.AllMonitors);
  EXPECT_EQ(host.monitors_mark, "checked");
  dialog.lbl_Monitors_MouseDown(kLeftButton);
  EXPECT_FALSE(settings.AllMonitors);
  EXPECT_EQ(host.monitors_mark, "open");
  dialog.lbl_Monitors_KeyDown(kKeySpace);
  EXPECT_TRUE(settings.AllMonitors);
  EXPECT_EQ(host.monitors_mark, "checked");
  // Other buttons and keys leave it.
  dialog.Img_Monitors_MouseDown(2);
  EXPECT_TRUE(settings.AllMonitors) << "right button";
  dialog.lbl_Monitors_MouseDown(4);
  EXPECT_TRUE(settings.AllMonitors) << "middle button";
  dialog.lbl_Monitors_KeyDown(13);
  EXPECT_TRUE(settings.AllMonitors) << "Enter";
  dialog.lbl_Monitors_KeyDown('A');
  EXPECT_TRUE(settings.AllMonitors) << "A";
  EXPECT_EQ(host.monitors_mark, "checked");

  dialog.lbl_Monitors_KeyDown(kKeySpace);
  EXPECT_TRUE(dialog.Cmd_Set_Click());
  EXPECT_EQ(Written(), (std::vector<std::string>{" 0", " 0", "", " 0"}));
}

TEST_F(DialogTest, HomePageOpensUnderTheHourglass) {
  Load(0);
  host.calls.clear();
  dialog.lbl_URL_Click();
  EXPECT_EQ(host.calls, (std::vector<std::string>{"hourglass", std::string("open ") + kHomePage,
                                                  "default"}));
}

}  // namespace
}  // namespace tremblix
