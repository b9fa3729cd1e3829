// The settings dialog in a real window on the display: what loading shows,
// choosing a kind with the mouse, saving to a real settings file and reading
// it back, cancelling, the close box, the bands and the zoom rectangles. The
// pointer is moved with SetCursorPos and the buttons pressed with SendInput.
#include "saver/settings/settings_dialog_win32.h"

#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include "saver/common/dpi_win32.h"
#include "saver/common/twips.h"
#include "saver/common/wide_text_win32.h"
#include "saver/settings/dialog_layout.h"
#include "saver/settings/dialog_pictures.h"
#include "saver/startup/profile_win32.h"
#include "tests/windows/user_input_win32.h"

namespace tremblix {
namespace {

struct Animation {
  int animation;
  RECT from, to;
};

class RecordingAnimator : public RectAnimator {
 public:
  void DrawAnimatedRects(HWND, int animation, const RECT& from, const RECT& to) override {
    calls.push_back({animation, from, to});
  }
  std::vector<Animation> calls;
};

// The real dialog, with the chooser, the browser and the message box replaced.
class TestDialog : public SettingsDialogWindow {
 public:
  using SettingsDialogWindow::SettingsDialogWindow;
  std::optional<std::string> ChooseFile(const std::string& start_folder) override {
    chooser_folders.push_back(start_folder);
    return chosen;
  }
  void OpenHomePage(const std::string& address) override { opened.push_back(address); }
  void ShowRepeatOutOfRange() override { ++refusals; }
  void ShowSaveFailed() override { ++save_failures; }
  void ShowFileCannotBeChosen() override { ++refusals; }

  std::optional<std::string> chosen;
  std::vector<std::string> chooser_folders, opened;
  int refusals = 0, save_failures = 0;
  RECT made = {};  // where the window was made
  bool always_cues = false;  // the user's setting to show the cues always

 protected:
  bool CuesAlwaysShown() override { return always_cues; }
  SIZE FocusBorder() override { return {3, 2}; }
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
    const auto* c = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    if (message == WM_CREATE) made = {c->x, c->y, c->x + c->cx, c->y + c->cy};
    return SettingsDialogWindow::HandleMessage(message, wparam, lparam);
  }
};

// The names given and cleared, passed on to Windows (Wine answers E_NOTIMPL: a real Windows reads them).
struct RecordingNames : forms::AccessibleNames {
  HRESULT Name(HWND w, const std::wstring& n) override { return named.push_back({w, n}), forms::PlatformAccessibleNames().Name(w, n); }
  HRESULT Clear(HWND w) override { return cleared.push_back(w), forms::PlatformAccessibleNames().Clear(w); }
  std::vector<std::pair<HWND, std::wstring>> named;
  std::vector<HWND> cleared;
};

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class SettingsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "tremblix-dialog-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr) ||
                GetLastError() == ERROR_ALREADY_EXISTS);
    music_ = folder_ + "\\tune.mp3";
    std::ofstream(music_) << "x";
    DeleteFileA(IniPath().c_str());
    SetCursorPos(0, 0);
  }
  void TearDown() override {
    dialog_.reset();
    Pump(20);
    DeleteFileA(IniPath().c_str());
    DeleteFileA(music_.c_str());
    RemoveDirectoryA(folder_.c_str());
  }

  TestDialog& Open(int16_t kind, int16_t repeat = 0, std::string file = "",
                   HWND owner = nullptr) {
    settings_.BgmKind = kind;
    settings_.BgmRepeat = repeat;
    settings_.BgmFile = std::move(file);
    settings_.BgmFolder =
        settings_.BgmFile.empty() ? folder_ : FolderOf(settings_.BgmFile, &AnsiLeadByte);
    dialog_ = std::make_unique<TestDialog>(settings_, profile_, Wide(IniPath(), CP_ACP), animator_);
    dialog_->always_cues = always_cues_;
    dialog_->UseAccessibleNames(names_);
    EXPECT_TRUE(dialog_->LoadDialog(owner));
    RECT placed = {};
    GetWindowRect(dialog_->hwnd(), &placed);
    EXPECT_TRUE(SameRect(dialog_->made, placed)) << "made elsewhere, then moved";
    ShowWindow(dialog_->hwnd(), SW_SHOWNORMAL);
    Pump(100);
    return *dialog_;
  }

  void Pump(int ms) { testing::PumpMessages(dialog_ ? dialog_->hwnd() : nullptr, ms); }
  bool PumpUntilClosed(int timeout_ms = 20000) {
    const DWORD start = GetTickCount();
    while (static_cast<int>(GetTickCount() - start) < timeout_ms) {
      Pump(5);
      if (!dialog_->hwnd()) return true;
    }
    return false;
  }

  // Presses and releases a mouse button over the middle of a window.
  void ClickOn(HWND hwnd, DWORD down, DWORD up) {
    RECT r;
    GetWindowRect(hwnd, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    Pump(150);  // the button's poll sees the pointer arrive
    Mouse(down);
    Pump(30);
    Mouse(up);
    Pump(60);
  }
  void LeftClickOn(HWND hwnd) { ClickOn(hwnd, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP); }
  void RightClickOn(HWND hwnd) { ClickOn(hwnd, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP); }
  static void Mouse(DWORD flags) { testing::SendMouse(flags); }

  int FilledMark() {
    int filled = -1;
    for (int i = 0; i < 3; ++i) {
      if (dialog_->Img_BGM(i).picture() == dialog_->Img_Ra(1)) {
        EXPECT_EQ(filled, -1) << "more than one mark filled";
        filled = i;
      } else {
        EXPECT_EQ(dialog_->Img_BGM(i).picture(), dialog_->Img_Ra(0)) << "mark " << i;
      }
    }
    return filled;
  }
  std::wstring Text(HWND hwnd) {
    wchar_t text[512] = {};
    GetWindowTextW(hwnd, text, 512);
    return text;
  }
  bool RepeatEnabled() { return IsWindowEnabled(dialog_->BGM_Repeat()) != 0; }
  bool FileEnabled() { return dialog_->Cmd_File().fields().IsEnabled; }
  std::string IniPath() const { return folder_ + "\\Tremblix.ini"; }
  std::string Read(const char* key) {
    return ReadIni(profile_, kIniSection, key, Wide(IniPath(), CP_ACP));
  }
  bool IniExists() { return GetFileAttributesA(IniPath().c_str()) != INVALID_FILE_ATTRIBUTES; }
  std::string IniBytes() {
    std::ifstream in(IniPath(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void SetRepeatText(const wchar_t* text) { SetWindowTextW(dialog_->BGM_Repeat(), text); }

  // Runs the dialog's messages until done() holds, for up to timeout_ms (a
  // bound no loaded machine misses unless said); whether it came to hold.
  bool PumpUntil(const std::function<bool()>& done, int timeout_ms = 20000) {
    const DWORD start = GetTickCount();
    while (!done()) {
      if (static_cast<int>(GetTickCount() - start) >= timeout_ms) return false;
      Pump(5);
    }
    return true;
  }
  // Whether Img_Monitors shows the filled mark; it shows one of the two.
  bool MonitorsChecked() {
    const HBITMAP picture = dialog_->Img_Monitors().picture();
    EXPECT_TRUE(picture == dialog_->Img_Ra(0) || picture == dialog_->Img_Ra(1));
    return picture == dialog_->Img_Ra(1);
  }

  // A pixel of the dialog's client area as the screen shows it.
  COLORREF ClientPixel(int x, int y) {
    POINT p = {x, y};
    ClientToScreen(dialog_->hwnd(), &p);
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c;
  }

  std::string folder_, music_;
  SettingsRecord settings_;
  Win32Profile profile_;
  RecordingAnimator animator_;
  RecordingNames names_;
  bool always_cues_ = false;
  std::unique_ptr<TestDialog> dialog_;
};

TEST_F(SettingsDialogTest, LoadedWithAMusicFile) {
  TestDialog& d = Open(2, 0, music_);
  EXPECT_EQ(FilledMark(), 2);
  EXPECT_TRUE(FileEnabled());
  EXPECT_FALSE(RepeatEnabled());
  EXPECT_EQ(d.lbl_Fname().Text().size(), music_.size());
  EXPECT_EQ(Text(d.lbl_Fname().hwnd()), std::wstring(music_.begin(), music_.end()));
  EXPECT_EQ(Text(d.BGM_Repeat()), L"");
  EXPECT_EQ(SendMessageW(d.BGM_Repeat(), CB_GETCOUNT, 0, 0), 31);
}

TEST_F(SettingsDialogTest, LoadedWithTheCdAndNoTrack) {
  TestDialog& d = Open(1, 0);
  EXPECT_EQ(FilledMark(), 1);
  EXPECT_TRUE(RepeatEnabled());
  EXPECT_FALSE(FileEnabled());
  EXPECT_EQ(Text(d.BGM_Repeat()), L"");
  EXPECT_EQ(Text(d.lbl_Fname().hwnd()), L"");
}

TEST_F(SettingsDialogTest, LoadedWithAnUnknownKind) {
  TestDialog& d = Open(5, 45);
  EXPECT_EQ(FilledMark(), -1);
  EXPECT_FALSE(RepeatEnabled());
  EXPECT_FALSE(FileEnabled());
  EXPECT_EQ(Text(d.BGM_Repeat()), L"45");
}

TEST_F(SettingsDialogTest, MarksTakeTheirPicturesSizeAndTheWindowItsLayout) {
  TestDialog& d = Open(0);
  RECT r;
  GetWindowRect(d.Img_BGM(1).hwnd(), &r);
  EXPECT_EQ(r.right - r.left, 12);
  EXPECT_EQ(r.bottom - r.top, 12);
  GetClientRect(d.hwnd(), &r);
  EXPECT_EQ(r.right, 496);
  EXPECT_EQ(r.bottom, 243);
  EXPECT_EQ(Text(d.hwnd()), L"<Tremblix>");
  const LONG style = GetWindowLongW(d.hwnd(), GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
}

TEST_F(SettingsDialogTest, TheBandsShowAtTheirRows) {
  Open(0);
  // Column 490 lies right of the panel and of the buttons.
  EXPECT_EQ(ClientPixel(490, 0), RGB(0, 0, 30));
  EXPECT_EQ(ClientPixel(490, 121), RGB(220, 220, 250));
  EXPECT_EQ(ClientPixel(490, 122), RGB(220, 220, 250));
  EXPECT_EQ(ClientPixel(490, 242), RGB(3, 3, 33));
}

TEST_F(SettingsDialogTest, ChoosingKindsWithTheLeftAndTheRightButton) {
  TestDialog& d = Open(0);
  LeftClickOn(d.lbl_BGM(1).hwnd());
  EXPECT_EQ(settings_.BgmKind, 1);
  EXPECT_EQ(FilledMark(), 1);
  EXPECT_TRUE(RepeatEnabled());
  EXPECT_FALSE(FileEnabled());
  RightClickOn(d.Img_BGM(2).hwnd());
  EXPECT_EQ(settings_.BgmKind, 2);
  EXPECT_EQ(FilledMark(), 2);
  EXPECT_FALSE(RepeatEnabled());
  EXPECT_TRUE(FileEnabled());
  RightClickOn(d.lbl_BGM(0).hwnd());
  EXPECT_EQ(FilledMark(), 0);
  EXPECT_FALSE(RepeatEnabled());
  EXPECT_FALSE(FileEnabled());
}

TEST_F(SettingsDialogTest, SavingAMusicFileWritesTheThreeKeysAndCloses) {
  TestDialog& d = Open(0);
  LeftClickOn(d.lbl_BGM(2).hwnd());
  d.chosen = music_;
  LeftClickOn(d.Cmd_File().hwnd());
  EXPECT_EQ(d.chooser_folders, std::vector<std::string>{folder_});
  EXPECT_EQ(Text(d.lbl_Fname().hwnd()), std::wstring(music_.begin(), music_.end()));
  LeftClickOn(d.Cmd_Set().hwnd());
  ASSERT_TRUE(PumpUntilClosed());
  EXPECT_EQ(Read(kKeyBgmKind), "2");  // the platform drops the leading blank
  EXPECT_EQ(Read(kKeyBgmRepeat), "0");
  EXPECT_EQ(Read(kKeyBgmFile), music_);
  // What loading makes of it again.
  SettingsRecord loaded;
  LoadSettings(profile_, Wide(IniPath(), CP_ACP), folder_, loaded);
  EXPECT_EQ(loaded.BgmKind, 2);
  EXPECT_EQ(loaded.BgmFile, music_);
}

TEST_F(SettingsDialogTest, SavingTheCdWithATypedTrack) {
  Open(1);
  SetRepeatText(L" 3.5 ");
  LeftClickOn(dialog_->Cmd_Set().hwnd());
  ASSERT_TRUE(PumpUntilClosed());
  EXPECT_EQ(Read(kKeyBgmKind), "1");
  EXPECT_EQ(Read(kKeyBgmRepeat), "4");
  EXPECT_EQ(Read(kKeyBgmFile), "");
  EXPECT_EQ(settings_.BgmRepeat, 4);
}

TEST_F(SettingsDialogTest, SavingAnUnknownKindWritesItBack) {
  Open(5, -3);
  LeftClickOn(dialog_->Cmd_Set().hwnd());
  ASSERT_TRUE(PumpUntilClosed());
  EXPECT_EQ(Read(kKeyBgmKind), "5");
  EXPECT_EQ(Read(kKeyBgmRepeat), "-3");
}

TEST_F(SettingsDialogTest, ARepeatOutOfRangeIsRefusedAndNothingIsWritten) {
  Open(1);
  SetRepeatText(L"40000");
  LeftClickOn(dialog_->Cmd_Set().hwnd());
  Pump(100);
  EXPECT_EQ(dialog_->refusals, 1);
  EXPECT_NE(dialog_->hwnd(), nullptr) << "the dialog closed";
  EXPECT_FALSE(IniExists());
}

TEST_F(SettingsDialogTest, CancelWritesNothing) {
  std::ofstream(IniPath()) << "[Section]\r\nx=1\r\n";
  const std::string before = IniBytes();
  TestDialog& d = Open(2, 0, music_);
  LeftClickOn(d.lbl_BGM(1).hwnd());
  LeftClickOn(d.Cmd_Can().hwnd());
  ASSERT_TRUE(PumpUntilClosed());
  EXPECT_EQ(IniBytes(), before);
}

TEST_F(SettingsDialogTest, TheCloseBoxWritesNothing) {
  Open(1);
  SendMessageW(dialog_->hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(PumpUntilClosed());
  EXPECT_FALSE(IniExists());
}

TEST_F(SettingsDialogTest, ZoomsFromThePointerAtTheCornerAndBackToIt) {
  const int right = GetSystemMetrics(SM_CXSCREEN) - 1;
  const int bottom = GetSystemMetrics(SM_CYSCREEN) - 1;
  SetCursorPos(right, bottom);
  Open(0);
  RECT window;
  GetWindowRect(dialog_->hwnd(), &window);
  ASSERT_EQ(animator_.calls.size(), 1u);
  const RECT corner = {right, bottom, right, bottom};
  EXPECT_EQ(animator_.calls[0].animation, 3);  // IDANI_CAPTION
  EXPECT_TRUE(SameRect(animator_.calls[0].from, corner));
  EXPECT_TRUE(SameRect(animator_.calls[0].to, window));
  SetCursorPos(5, 5);  // the pointer moves; the closing zoom goes back all the same
  SendMessageW(dialog_->hwnd(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(PumpUntilClosed());
  ASSERT_EQ(animator_.calls.size(), 2u);
  EXPECT_TRUE(SameRect(animator_.calls[1].from, window));
  EXPECT_TRUE(SameRect(animator_.calls[1].to, corner));
}

TEST_F(SettingsDialogTest, TheHomePageLabelOpensOurAddress) {
  TestDialog& d = Open(0);
  LeftClickOn(d.lbl_URL().hwnd());
  EXPECT_EQ(d.opened, std::vector<std::string>{kHomePage});
  EXPECT_EQ(Text(d.lbl_URL().hwnd()), L"https://tremblix.example/");
}

// The keyboard alone: focus rectangles hidden until a key, an open repeat
// list keeps Escape, Tab takes every stop in order, Enter elsewhere saves.
TEST_F(SettingsDialogTest, TheKeyboardAloneDoesWhatTheMouseDoes) {
  TestDialog& d = Open(0, 0, music_);
  auto focus_on = [&](HWND w) { return PumpUntil([&] { return GetFocus() == w || GetParent(GetFocus()) == w; }); };
  auto cues_hidden = [](HWND w) { return (SendMessageW(w, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0; };
  const HWND none = d.lbl_BGM(0).hwnd(), cd = d.lbl_BGM(1).hwnd(), file = d.lbl_BGM(2).hwnd();
  ASSERT_TRUE(focus_on(none));
  EXPECT_TRUE(cues_hidden(none)) << "focus rectangles before any key";
  EXPECT_EQ(SendMessageW(none, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_RADIOBUTTON | DLGC_WANTARROWS);
  for (bool up : {false, false, true}) testing::SendKeyEvent(VK_DOWN, up);
  ASSERT_TRUE(focus_on(cd)) << "Down held from なし for one repeat is not 音楽CD";
  EXPECT_TRUE(FilledMark() == 1 && RepeatEnabled());
  testing::SendKey(VK_TAB);
  ASSERT_TRUE(focus_on(d.BGM_Repeat()));
  SendMessageW(d.BGM_Repeat(), CB_SHOWDROPDOWN, TRUE, 0);
  testing::SendKey(VK_ESCAPE);
  EXPECT_TRUE(PumpUntil([&] { return !SendMessageW(d.BGM_Repeat(), CB_GETDROPPEDSTATE, 0, 0); }));
  testing::SendKey(VK_TAB, true);
  ASSERT_TRUE(focus_on(cd)) << "Escape in the open list closed the dialog, or Shift+Tab missed";
  testing::SendKey(VK_UP);
  ASSERT_TRUE(focus_on(file)) << "Up from 音楽CD is not MP3、WAV";
  EXPECT_TRUE(FilledMark() == 2 && FileEnabled());
  EXPECT_FALSE(cues_hidden(file)) << "no focus rectangles once the keys were used";
  d.chosen = folder_ + "\\other.mp3";
  testing::SendKey(VK_TAB);
  ASSERT_TRUE(focus_on(d.Cmd_File().hwnd()));
  EXPECT_EQ(SendMessageW(d.hwnd(), DM_GETDEFID, 0, 0), MAKELRESULT(GetDlgCtrlID(d.Cmd_File().hwnd()), DC_HASDEFID));
  // A push button's answer, the focused one the default; an arrow on a button goes nowhere.
  auto answers = [](HWND w) { return SendMessageW(w, WM_GETDLGCODE, 0, 0); };
  EXPECT_EQ(answers(d.Cmd_File().hwnd()) | answers(d.Cmd_Set().hwnd()) << 8, 0x2010 | (0x2020 << 8));
  auto arrow_stays = [&](WORD key, HWND w) { testing::SendKey(key); return PumpUntil([] { return !HIWORD(GetQueueStatus(QS_INPUT)); }) && GetFocus() == w; };
  EXPECT_TRUE(arrow_stays(VK_DOWN, d.Cmd_File().hwnd())) << "Down on ... moved the focus";
  testing::SendKeyEvent(VK_SPACE, false);  // the face down at Space's press, the click at its release
  EXPECT_TRUE(PumpUntil([&] { return d.Cmd_File().last_face() == Face::Pressed; }) && d.chooser_folders.empty()) << "Space's press";
  testing::SendKeyEvent(VK_SPACE, true);
  EXPECT_TRUE(PumpUntil([&] { return d.chooser_folders.size() == 1; })) << "Space's release on ...";
  testing::SendKey(VK_RETURN);
  EXPECT_TRUE(PumpUntil([&] { return d.chooser_folders.size() == 2; })) << "Enter on ...";
  for (HWND stop : {d.lbl_Monitors().hwnd(), d.Cmd_Set().hwnd(), d.Cmd_Can().hwnd(), d.lbl_URL().hwnd()}) {
    testing::SendKey(VK_TAB);
    ASSERT_TRUE(focus_on(stop)) << "Tab missed a stop";
    EXPECT_TRUE(stop != d.Cmd_Set().hwnd() || arrow_stays(VK_RIGHT, stop)) << "Right on 設定 moved the focus";
  }
  EXPECT_EQ(answers(d.lbl_Monitors().hwnd()) | answers(d.lbl_URL().hwnd()), DLGC_BUTTON);
  EXPECT_EQ(answers(d.Cmd_Set().hwnd()), DLGC_BUTTON | DLGC_DEFPUSHBUTTON) << "no button has the focus";
  for (WORD key : {VK_RETURN, VK_SPACE}) testing::SendKey(key);
  EXPECT_TRUE(PumpUntil([&] { return d.opened.size() == 2; })) << "Enter, Space on the link";
  testing::SendKey(VK_TAB);
  ASSERT_TRUE(focus_on(file)) << "Tab from the link did not come round to the kinds";
  testing::SendKey(VK_RETURN);
  ASSERT_TRUE(PumpUntilClosed()) << "Enter on a kind did not save";
  EXPECT_EQ(Read(kKeyBgmKind), "2");
  EXPECT_EQ(Read(kKeyBgmFile), folder_ + "\\other.mp3");
}

// --- Scaling -----------------------------------------------------------------

PixelBox PlaceIn(HWND child, HWND parent) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

int FontHeight(HWND control) {
  LOGFONTW font = {};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font),
             &font);
  return font.lfHeight;
}

// What Windows sends when the dialog moves to a monitor of this dpi: the
// window grown or shrunk so that its client area takes the new size.
void SendDpiChange(HWND dialog, int dpi) {
  RECT window, client;
  GetWindowRect(dialog, &window);
  GetClientRect(dialog, &client);
  const PixelBox to = DialogClientAt(dpi);
  RECT suggested = {window.left, window.top, window.right + to.width - client.right,
                    window.bottom + to.height - client.bottom};
  SendMessageW(dialog, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi),
               reinterpret_cast<LPARAM>(&suggested));
}

void ExpectLaidOutAt(TestDialog& d, int dpi) {
  SCOPED_TRACE(dpi);
  EXPECT_EQ(d.dpi(), dpi);
  RECT client;
  GetClientRect(d.hwnd(), &client);
  const PixelBox want = DialogClientAt(dpi);
  EXPECT_EQ(client.right, want.width);
  EXPECT_EQ(client.bottom, want.height);
  const HWND panel = d.Pic_C().hwnd();
  EXPECT_EQ(PlaceIn(panel, d.hwnd()), PixelsAt(kPic_C, dpi));
  EXPECT_EQ(PlaceIn(d.Cmd_Set().hwnd(), d.hwnd()), PixelsAt(kCmd_Set, dpi));
  EXPECT_EQ(PlaceIn(d.Cmd_File().hwnd(), panel), PixelsAt(kCmd_File, dpi));
  EXPECT_EQ(PlaceIn(d.lbl_Fname().hwnd(), panel), PixelsAt(kLbl_Fname, dpi));
  const PixelBox mark = PlaceIn(d.Img_BGM(1).hwnd(), panel);
  EXPECT_EQ(mark.left, PixelsAt(kImg_BGM[1], dpi).left);
  EXPECT_EQ(mark.width, kMarkSize * BandWidth(dpi));
  EXPECT_EQ(mark.height, kMarkSize * BandWidth(dpi));
  EXPECT_EQ(FontHeight(d.lbl_BGM(1).hwnd()), -FontPixelsAt(kLabelFontPoints, dpi));
  // The monitors choice: its mark as the kinds' are, its caption at its place
  // in the labels' font, both in the strip under the panel.
  const PixelBox monitors_mark = PlaceIn(d.Img_Monitors().hwnd(), d.hwnd());
  const PixelBox monitors_caption = PlaceIn(d.lbl_Monitors().hwnd(), d.hwnd());
  const PixelBox panel_box = PixelsAt(kPic_C, dpi);
  EXPECT_EQ(monitors_mark.left, PixelsAt(kImg_Monitors, dpi).left);
  EXPECT_EQ(monitors_mark.top, PixelsAt(kImg_Monitors, dpi).top);
  EXPECT_EQ(monitors_mark.width, kMarkSize * BandWidth(dpi));
  EXPECT_EQ(monitors_caption.left, PixelsAt(kLbl_Monitors, dpi).left);
  EXPECT_EQ(monitors_caption.top, PixelsAt(kLbl_Monitors, dpi).top);
  EXPECT_GE(monitors_caption.top, panel_box.top + panel_box.height);
  EXPECT_LE(monitors_caption.left + monitors_caption.width, PixelsAt(kCmd_Set, dpi).left);
  EXPECT_LE(monitors_caption.top + monitors_caption.height, PixelsAt(kLbl_URL, dpi).top);
  EXPECT_EQ(FontHeight(d.lbl_Monitors().hwnd()), -FontPixelsAt(kLabelFontPoints, dpi));
  EXPECT_EQ(FontHeight(d.Cmd_Set().hwnd()), -FontPixelsAt(kLabelFontPoints, dpi));
  // The button's outline is one band thick: one pixel at 96 dpi, two at 192.
  const HDC face = d.Cmd_Set().surface();
  const int band = BandWidth(dpi);
  for (int y = 0; y < band; ++y) EXPECT_EQ(GetPixel(face, 30, y), RGB(0, 60, 116)) << "row " << y;
  EXPECT_NE(GetPixel(face, 30, band), RGB(0, 60, 116));
  // The hand over the home page at this scale, its hot spot on the finger's tip.
  SendMessageW(d.lbl_URL().hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(d.lbl_URL().hwnd()),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  ICONINFO hand = {};
  ASSERT_TRUE(GetIconInfo(GetCursor(), &hand));
  BITMAP hand_mask = {};
  GetObjectW(hand.hbmMask, sizeof(hand_mask), &hand_mask);
  EXPECT_EQ(hand_mask.bmWidth, kIconSize * band);
  EXPECT_EQ(static_cast<int>(hand.xHotspot), kHandHotSpotX * band);
  EXPECT_EQ(static_cast<int>(hand.yHotspot), kHandHotSpotY * band);
  if (hand.hbmColor) DeleteObject(hand.hbmColor);
  DeleteObject(hand.hbmMask);
  // The icons at the sizes Windows asks for at this dpi.
  for (WPARAM which : {ICON_BIG, ICON_SMALL}) {
    const int size = MetricAtDpi(which == ICON_BIG ? SM_CXICON : SM_CXSMICON, dpi);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(
        reinterpret_cast<HICON>(SendMessageW(d.hwnd(), WM_GETICON, which, 0)), &info));
    BITMAP mask = {};
    GetObjectW(info.hbmMask, sizeof(mask), &mask);
    EXPECT_EQ(mask.bmWidth, size) << (which == ICON_BIG ? "big icon" : "small icon");
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
  }
}

TEST_F(SettingsDialogTest, ADpiChangeLaysTheDialogOutAgainAtTheMessagesDpi) {
  TestDialog& d = Open(1);
  ExpectLaidOutAt(d, 96);
  SendDpiChange(d.hwnd(), 192);
  Pump(50);
  ExpectLaidOutAt(d, 192);
  EXPECT_EQ(FilledMark(), 1) << "the marks were not kept";
  EXPECT_TRUE(MonitorsChecked()) << "the monitors mark was not kept";
  SendDpiChange(d.hwnd(), 144);
  Pump(50);
  ExpectLaidOutAt(d, 144);
  SendDpiChange(d.hwnd(), 96);
  Pump(50);
  ExpectLaidOutAt(d, 96);
  // The bands are painted again for the new size.
  EXPECT_EQ(ClientPixel(490, 121), RGB(220, 220, 250));
}


// --- The monitors choice ---------------------------------------------------------

// Checked by default, reached by Tab between the file button and 設定 with a
// focus rectangle over its caption, turned over by Space and by a click on
// its mark or its caption, and saved with the rest by 設定. Its look over the
// bands, a file that says " 0" and ｷｬﾝｾﾙ are the end-to-end suite's.
TEST_F(SettingsDialogTest, TheMonitorsChoiceTurnsOverByKeyAndMouseAndIsSaved) {
  TestDialog& d = Open(2, 3, music_);
  const HWND label = d.lbl_Monitors().hwnd();
  EXPECT_EQ(Text(label), L"すべてのﾓﾆﾀｰに表示");
  EXPECT_TRUE(MonitorsChecked()) << "not checked by default";
  // Pixels of the caption's top row that are not the band (column 490 shows it).
  const PixelBox caption = PlaceIn(label, d.hwnd());
  auto off_the_band = [&] {
    int off = 0;
    for (int x = caption.left; x < caption.left + caption.width; ++x) {
      off += ClientPixel(x, caption.top) != ClientPixel(490, caption.top);
    }
    return off;
  };

  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == d.lbl_BGM(2).hwnd(); }));
  testing::SendKey(VK_TAB);
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == d.Cmd_File().hwnd(); }));
  const int unfocused = off_the_band();
  testing::SendKey(VK_TAB);
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == label; })) << "Tab from ... went elsewhere";
  EXPECT_TRUE(PumpUntil([&] { return off_the_band() > unfocused + caption.width / 4; }))
      << "no focus rectangle over the caption";
  testing::SendKey(VK_SPACE);
  EXPECT_TRUE(PumpUntil([&] { return !settings_.AllMonitors; })) << "Space did not turn it over";
  EXPECT_FALSE(MonitorsChecked());
  testing::SendKey(VK_TAB);
  EXPECT_TRUE(PumpUntil([&] { return GetFocus() == d.Cmd_Set().hwnd(); })) << "Tab went elsewhere";
  testing::SendKey(VK_TAB, true);
  EXPECT_TRUE(PumpUntil([&] { return GetFocus() == label; })) << "Shift+Tab went elsewhere";

  LeftClickOn(d.Img_Monitors().hwnd());
  EXPECT_TRUE(PumpUntil([&] { return settings_.AllMonitors; })) << "a click on the mark";
  EXPECT_TRUE(MonitorsChecked());
  LeftClickOn(label);
  EXPECT_TRUE(PumpUntil([&] { return !settings_.AllMonitors; })) << "a click on the caption";
  EXPECT_FALSE(MonitorsChecked());

  LeftClickOn(d.Cmd_Set().hwnd());
  ASSERT_TRUE(PumpUntilClosed());
  EXPECT_EQ(Read(kKeyMonitors), "0");  // the platform drops the leading blank
  EXPECT_EQ(Read(kKeyBgmKind), "2");
  EXPECT_EQ(Read(kKeyBgmFile), music_);
}

// --- Screen readers ----------------------------------------------------------

std::vector<std::pair<DWORD, HWND>> g_events;

void CALLBACK RecordEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD,
                          DWORD) {
  if (object == OBJID_CLIENT && child == CHILDID_SELF) g_events.push_back({event, hwnd});
}

int Heard(DWORD event, HWND hwnd) {
  return static_cast<int>(std::count(g_events.begin(), g_events.end(), std::make_pair(event, hwnd)));
}

// The object a reader gets for the window, with its state.
struct Reading {
  IAccessible* object = nullptr;
  long state = -1;
  VARIANT self{};  // VT_I4 CHILDID_SELF once vt is set
  explicit Reading(HWND hwnd) {
    self.vt = VT_I4;
    AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                               reinterpret_cast<void**>(&object));
    VARIANT v{};
    if (object && SUCCEEDED(object->get_accState(self, &v))) state = v.lVal;
  }
  ~Reading() { if (object) object->Release(); }
  HRESULT Act() { return object ? object->accDoDefaultAction(self) : E_FAIL; }
};

// Readers hear what Windows cannot see (choices, the file button's availability) once, and
// Windows' own focus event alone; a default action runs after the reader's call, not inside it.
TEST_F(SettingsDialogTest, ReadersHearEachChangeOnceAndDefaultActionsRunAfterTheirCall) {
  TestDialog& d = Open(2, 0, music_);
  g_events.clear();
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_STATECHANGE, nullptr, RecordEvent,
                                       GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_TRUE(hook);
  LeftClickOn(d.lbl_BGM(1).hwnd());
  LeftClickOn(d.Img_BGM(1).hwnd());  // the same again: no change
  LeftClickOn(d.Img_Monitors().hwnd());
  SetFocus(d.lbl_BGM(0).hwnd());
  Pump(100);
  UnhookWinEvent(hook);
  for (auto [hwnd, changes] : {std::pair{d.lbl_BGM(1).hwnd(), 1}, {d.lbl_BGM(2).hwnd(), 1},
                                {d.lbl_BGM(0).hwnd(), 0}, {d.lbl_Monitors().hwnd(), 1}, {d.Cmd_File().hwnd(), 1}}) {
    EXPECT_EQ(Heard(EVENT_OBJECT_STATECHANGE, hwnd), changes) << Text(hwnd);
  }
  EXPECT_EQ(Heard(EVENT_OBJECT_FOCUS, d.lbl_BGM(0).hwnd()), 1) << "the focus told twice";
  EXPECT_EQ(Reading(d.lbl_BGM(0).hwnd()).state, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED);
  EXPECT_EQ(Reading(d.Img_BGM(1).hwnd()).state, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_CHECKED | STATE_SYSTEM_INVISIBLE);
  EXPECT_EQ(Reading(d.lbl_BGM(2).hwnd()).Act(), S_OK);
  EXPECT_EQ(settings_.BgmKind, 1) << "chosen inside the reader's call";
  EXPECT_TRUE(PumpUntil([&] { return settings_.BgmKind == 2; }));
  d.chosen = music_;
  EXPECT_EQ(Reading(d.Cmd_File().hwnd()).Act(), S_OK);
  EXPECT_TRUE(d.chooser_folders.empty()) << "the chooser opened inside the reader's call";
  EXPECT_TRUE(PumpUntil([&] { return d.chooser_folders.size() == 1; }));

  // The contract: no other child, the place on the screen, a hit on a kind's mark the kind,
  // an error once the window has gone; the repeat box's names given, and cleared as it goes.
  Reading cd(d.lbl_BGM(1).hwnd()), mark(d.Img_BGM(1).hwnd());
  VARIANT child{}, hit{};
  child.vt = VT_I4, child.lVal = 1;
  BSTR name = nullptr;
  EXPECT_EQ(cd.object->get_accName(child, &name), E_INVALIDARG);
  LONG x = 0, y = 0, w = 0, h = 0;
  RECT m, c;  // the mark's and the caption's places on the screen
  GetWindowRect(d.Img_BGM(1).hwnd(), &m), GetWindowRect(d.lbl_BGM(1).hwnd(), &c);
  ASSERT_EQ(cd.object->accLocation(&x, &y, &w, &h, cd.self), S_OK);
  const RECT place = {x, y, x + w, y + h};
  for (const RECT& r : {m, c}) EXPECT_TRUE(PtInRect(&place, {(r.left + r.right) / 2, (r.top + r.bottom) / 2})) << "off the screen's place";
  HWND found = nullptr;
  IAccessible* kind = nullptr;
  ASSERT_TRUE(mark.object->accHitTest(m.left + 2, m.top + 2, &hit) == S_OK && hit.vt == VT_DISPATCH) << "a hit on the mark";
  hit.pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&kind)), hit.pdispVal->Release();
  ASSERT_TRUE(kind && SUCCEEDED(WindowFromAccessibleObject(kind, &found)));
  kind->Release();
  EXPECT_EQ(found, d.lbl_BGM(1).hwnd()) << "a hit on the mark is not its kind";
  const std::vector<HWND> repeat = {d.BGM_Repeat(), GetWindow(d.BGM_Repeat(), GW_CHILD)};
  EXPECT_EQ(names_.named, (std::vector<std::pair<HWND, std::wstring>>{{repeat[0], L"曲目をﾘﾋﾟｰﾄ"}, {repeat[1], L"曲目をﾘﾋﾟｰﾄ"}}));
  DestroyWindow(d.hwnd());
  EXPECT_EQ(names_.cleared, repeat);
  EXPECT_TRUE(FAILED(cd.object->get_accName(cd.self, &name)) && FAILED(mark.object->accHitTest(m.left, m.top, &hit)));
}

// --- High contrast -----------------------------------------------------------

// A scheme none of whose colours, nor any blend of two, is one of ours or a grey.
class Scheme : public SystemColours {
 public:
  bool HighContrastOn() override { return on; }
  COLORREF Colour(SystemColour which) override { return kColours[static_cast<int>(which)]; }
  static constexpr COLORREF kColours[8] = {
      RGB(120, 0, 0),    RGB(255, 255, 100), RGB(90, 40, 0),    RGB(240, 240, 40),
      RGB(200, 0, 120),  RGB(160, 255, 60),  RGB(255, 120, 160), RGB(150, 150, 60)};
  bool on = false;
};

// Within a few steps of a scheme colour or of a blend of two (smoothed text).
bool OfTheScheme(COLORREF c) {
  auto rgb = [](COLORREF k) { return std::array<double, 3>{1.0 * GetRValue(k), 1.0 * GetGValue(k), 1.0 * GetBValue(k)}; };
  for (COLORREF a : Scheme::kColours) {
    for (COLORREF b : Scheme::kColours) {
      const auto p = rgb(c), from = rgb(a), to = rgb(b);
      double along = 0, length = 0, off = 0;
      for (int i = 0; i < 3; ++i) along += (p[i] - from[i]) * (to[i] - from[i]), length += std::pow(to[i] - from[i], 2);
      const double t = length ? std::clamp(along / length, 0.0, 1.0) : 0;
      for (int i = 0; i < 3; ++i) off += std::pow(p[i] - from[i] - t * (to[i] - from[i]), 2);
      if (off <= 36) return true;
    }
  }
  return false;
}

// What the screen shows of the client area, 0x00RRGGBB row by row.
std::vector<DWORD> ClientShot(HWND hwnd, int& width, int& height) {
  RECT client;
  GetClientRect(hwnd, &client);
  width = client.right, height = client.bottom;
  POINT origin = {0, 0};
  ClientToScreen(hwnd, &origin);
  BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};  // top-down
  void* bits = nullptr;
  HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(screen);
  HBITMAP shot = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, shot);
  BitBlt(dc, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
  GdiFlush();
  std::vector<DWORD> pixels(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + width * height);
  DeleteObject(SelectObject(dc, old));
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// Switched on while open, as Windows tells it: every pixel of ours in the scheme, Windows' own
// drawing left out, a kind's focus rectangle too (the cues shown always, a border two high).
// Switched off, the bands are back.
TEST_F(SettingsDialogTest, InHighContrastOnlyTheSchemesColoursShow) {
  Scheme scheme;
  always_cues_ = true;
  TestDialog& d = Open(2, 0, music_);
  d.UseColours(scheme);
  scheme.on = true;
  SendMessageW(d.hwnd(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
  SetFocus(d.lbl_BGM(1).hwnd());
  Pump(200);
  int width = 0, height = 0;
  const std::vector<DWORD> pixels = ClientShot(d.hwnd(), width, height);
  auto windows_own = [&](POINT p) {  // the repeat box, or an edge of Pic_C or lbl_Fname
    ClientToScreen(d.hwnd(), &p);
    for (HWND w : {d.BGM_Repeat(), d.Pic_C().hwnd(), d.lbl_Fname().hwnd()}) {
      RECT box, inside = {};
      GetWindowRect(w, &box);
      if (w != d.BGM_Repeat()) GetClientRect(w, &inside);
      MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&inside), 2);
      if (PtInRect(&box, p) && !PtInRect(&inside, p)) return true;
    }
    return false;
  };
  int ours = 0, off = 0, surface = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (windows_own({x, y})) continue;
      const DWORD p = pixels[y * width + x];
      const COLORREF c = RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
      ++ours;
      surface += c == scheme.Colour(SystemColour::kButtonFace);
      if (!OfTheScheme(c) && off++ < 5) ADD_FAILURE() << "(" << x << ", " << y << ") " << std::hex << c;
    }
  }
  EXPECT_EQ(off, 0) << "of " << ours << " pixels";
  EXPECT_GT(surface * 2, ours) << "the scheme's surface is not behind the dialog";
  const PixelBox kind = PlaceIn(d.lbl_BGM(1).hwnd(), d.hwnd());
  const DWORD text = scheme.Colour(SystemColour::kButtonText), dot = (text & 0xFF) << 16 | (text & 0xFF00) | text >> 16;
  EXPECT_GE(std::count(&pixels[(kind.top + 1) * width + kind.left], &pixels[(kind.top + 1) * width + kind.left + kind.width], dot) * 2,
            kind.width - 1) << "no focus rectangle on 音楽CD's second row";

  scheme.on = false;
  SendMessageW(d.hwnd(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
  Pump(100);
  EXPECT_EQ(ClientPixel(490, 121), RGB(220, 220, 250));
}

// --- The owner -----------------------------------------------------------------

HWND g_dialog_at_enable = nullptr;
bool g_dialog_alive_at_enable = false;

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  // Still shown: DestroyWindow hides a window before anything else.
  if (message == WM_ENABLE && wparam) {
    g_dialog_alive_at_enable = IsWindowVisible(g_dialog_at_enable) != FALSE;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

HWND MakeOwner(int x, int y) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = OwnerProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TestOwner";
  RegisterClassW(&wc);
  return CreateWindowExW(0, wc.lpszClassName, L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y,
                         300, 200, nullptr, nullptr, wc.hInstance, nullptr);
}

TEST_F(SettingsDialogTest, TheOwnerWaitsDisabledAndIsEnabledBeforeTheDialogGoes) {
  HWND owner = MakeOwner(600, 500);
  ASSERT_TRUE(owner);
  TestDialog& d = Open(0, 0, "", owner);
  g_dialog_at_enable = d.hwnd();
  g_dialog_alive_at_enable = false;
  EXPECT_EQ(GetWindow(d.hwnd(), GW_OWNER), owner);
  EXPECT_FALSE(IsWindowEnabled(owner));
  // Centred over the owner.
  RECT o, w;
  GetWindowRect(owner, &o);
  GetWindowRect(d.hwnd(), &w);
  EXPECT_NEAR((w.left + w.right) / 2, (o.left + o.right) / 2, 1);
  EXPECT_NEAR((w.top + w.bottom) / 2, (o.top + o.bottom) / 2, 1);

  LeftClickOn(d.Cmd_Can().hwnd());
  ASSERT_TRUE(PumpUntilClosed());
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_TRUE(g_dialog_alive_at_enable) << "the owner was enabled after the dialog had gone";
  DestroyWindow(owner);
}

TEST_F(SettingsDialogTest, DestroyedWhileOpenTheOwnerIsEnabledAgain) {
  HWND owner = MakeOwner(600, 500);
  TestDialog& d = Open(0, 0, "", owner);
  DestroyWindow(d.hwnd());
  EXPECT_TRUE(IsWindowEnabled(owner));
  DestroyWindow(owner);
}

struct OwnerThread {
  HWND owner = nullptr;
  HANDLE made = CreateEventW(nullptr, TRUE, FALSE, nullptr);
};

DWORD WINAPI RunOwnerThread(void* p) {
  auto* s = static_cast<OwnerThread*>(p);
  s->owner = MakeOwner(600, 500);
  SetEvent(s->made);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_APP) DestroyWindow(s->owner);
    DispatchMessageW(&msg);
  }
  return 0;
}

// The owner lives on another thread, as a page of another process does: its
// end leaves the dialog open, unowned, and closing it still works.
TEST_F(SettingsDialogTest, AnOwnerThatGoesLeavesTheDialogOpenAndUnowned) {
  OwnerThread shared;
  DWORD thread_id = 0;
  HANDLE thread = CreateThread(nullptr, 0, RunOwnerThread, &shared, 0, &thread_id);
  ASSERT_EQ(WaitForSingleObject(shared.made, 5000), WAIT_OBJECT_0);
  TestDialog& d = Open(0, 0, "", shared.owner);
  EXPECT_EQ(GetWindow(d.hwnd(), GW_OWNER), shared.owner);
  PostThreadMessageW(thread_id, WM_APP, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(shared.owner); }));
  // The owner watch looks twice a second; a loaded machine may take longer.
  ASSERT_TRUE(PumpUntil([&] { return d.owner() == nullptr; })) << "the dialog kept its owner";
  EXPECT_TRUE(IsWindow(d.hwnd())) << "the dialog went with its owner";
  EXPECT_EQ(GetWindow(d.hwnd(), GW_OWNER), nullptr);
  EXPECT_EQ(d.owner(), nullptr);
  LeftClickOn(d.Cmd_Can().hwnd());
  EXPECT_TRUE(PumpUntilClosed());
  PostThreadMessageW(thread_id, WM_QUIT, 0, 0);
  WaitForSingleObject(thread, 5000);
  CloseHandle(thread);
  CloseHandle(shared.made);
}

}  // namespace
}  // namespace tremblix
