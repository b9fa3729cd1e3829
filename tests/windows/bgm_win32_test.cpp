// The music module against winmm: a real MP3 and WAV played under Wine's
// null sound device, and the CD monitor on a machine with no CD drive. Then
// the run's own window with that music, told what Windows tells it of the
// display and of sleep, and the way it starts the renderer.
#include "saver/music/bgm_win32.h"

#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "saver/common/wide_text_win32.h"
#include "saver/run/run_win32.h"
#include "tests/windows/power_notice_win32.h"

namespace tremblix {
namespace {

// The real device, remembering each command and its status.
class RecordingDevice : public Win32MusicDevice {
 public:
  uint32_t SendCommand(const std::string& command, char* reply, uint32_t length) override {
    uint32_t status = Win32MusicDevice::SendCommand(command, reply, length);
    sent.emplace_back(command, status);
    return status;
  }
  std::vector<std::pair<std::string, uint32_t>> sent;
};

std::string ErrorTextOf(uint32_t status) {
  char text[256] = {};
  if (!mciGetErrorStringA(status, text, sizeof text)) return "(no text)";
  return text;
}

// The media folder that make_music_media.sh fills beside the test program.
// In UTF-8, as the program keeps every path.
std::string MediaPath(const std::string& name) {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::string folder = Narrow(std::wstring(path, length), CP_UTF8);
  return folder.substr(0, folder.rfind('\\')) + "\\music media\\" + name;
}

bool FileIsThere(const std::string& path) {
  return GetFileAttributesW(Wide(path, CP_UTF8).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Polls until the condition holds, for up to 20 s: no loaded machine misses it.
template <typename Condition>
bool Eventually(Condition condition, DWORD milliseconds = 20000) {
  DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > milliseconds) return false;
    Sleep(50);
  }
  return true;
}

class MusicTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The harness gives Wine a sound device: without one nothing here is tested.
    ASSERT_GT(waveOutGetNumDevs(), 0u)
        << "no wave output device: Wine needs an ALSA device "
           "(HOME/.asoundrc with a null pcm, as tools/wine/harness.sh writes)";
  }
  RecordingDevice device;
  SettingsRecord settings;
  Tremblix_BGM bgm{device, settings};
};

TEST_F(MusicTest, Mp3WithBlanksInItsPathPlaysRepeatsAndCloses) {
  settings.BgmFile = MediaPath("tone one.mp3");
  ASSERT_TRUE(FileIsThere(settings.BgmFile)) << settings.BgmFile << " was not made";

  EXPECT_TRUE(bgm.Mp3Start());
  ASSERT_EQ(device.sent.size(), 3u) << "open failed: " << ErrorTextOf(device.sent[0].second);
  EXPECT_EQ(device.sent[0].first,
            "open \"" + settings.BgmFile + "\" type MPEGVideo Alias MP3Play");
  EXPECT_EQ(device.sent[1], std::make_pair(std::string("set MP3Play time format milliseconds"), 0u));
  EXPECT_EQ(device.sent[2], std::make_pair(std::string("play MP3Play"), 0u));
  EXPECT_TRUE(Eventually([&] { return bgm.Mp3IsPlaying(); })) << "never reported playing";

  // The one-second tone ends; the next check starts it again from 0.
  ASSERT_TRUE(Eventually([&] { return !bgm.Mp3IsPlaying(); })) << "never reached its end";
  device.sent.clear();
  bgm.Mp3Repeat();
  ASSERT_EQ(device.sent.size(), 3u);
  EXPECT_EQ(device.sent[1], std::make_pair(std::string("stop MP3Play"), 0u));
  EXPECT_EQ(device.sent[2], std::make_pair(std::string("play MP3Play from 0"), 0u));
  EXPECT_TRUE(Eventually([&] { return bgm.Mp3IsPlaying(); })) << "did not play again";

  // While it plays, a check sends nothing but its status query.
  device.sent.clear();
  bgm.Mp3Repeat();
  EXPECT_EQ(device.sent.size(), 1u);

  bgm.Mp3Close();
  EXPECT_EQ(device.sent[1], std::make_pair(std::string("stop MP3Play"), 0u));
  EXPECT_EQ(device.sent[2], std::make_pair(std::string("close MP3Play"), 0u));
  EXPECT_NE(mciSendStringA("status MP3Play mode", nullptr, 0, nullptr), 0u) << "still open";
}

TEST_F(MusicTest, Mp3ThatCannotOpenStaysSilent) {
  settings.BgmFile = MediaPath("no such tone.mp3");
  bgm.Mp3Start();
  ASSERT_EQ(device.sent.size(), 1u);
  EXPECT_NE(device.sent[0].second, 0u);
  // The checks go on sending to a device that is not there, without effect.
  bgm.Mp3Repeat();
  EXPECT_FALSE(bgm.Mp3IsPlaying());
  for (const auto& [command, status] : device.sent) EXPECT_NE(status, 0u) << command;
  bgm.Mp3Close();
}

// PlaySoundA keeps the file open while it plays; a file still held well past
// the tone's length is looping, and a released one has stopped.
bool HeldOpen(const std::string& path) {
  HANDLE file = CreateFileW(Wide(path, CP_UTF8).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
  CloseHandle(file);
  return false;
}

TEST_F(MusicTest, WavLoopsUntilStopped) {
  settings.BgmFile = MediaPath("tone one.wav");
  ASSERT_TRUE(FileIsThere(settings.BgmFile)) << settings.BgmFile << " was not made";
  ASSERT_FALSE(HeldOpen(settings.BgmFile));

  bgm.WavStart();
  EXPECT_TRUE(Eventually([&] { return HeldOpen(settings.BgmFile); })) << "never started";
  Sleep(2500);  // two and a half times the tone
  EXPECT_TRUE(HeldOpen(settings.BgmFile)) << "stopped after its end instead of looping";

  bgm.WavStop();
  EXPECT_TRUE(Eventually([&] { return !HeldOpen(settings.BgmFile); })) << "never stopped";
  bgm.WavStop();  // nothing playing: no effect
}

// The wave dash (U+301C) and é: the commands and the sound player get the
// name whole, whatever the code page.
TEST_F(MusicTest, FilesNamedWithAnyLettersPlay) {
  settings.BgmFile = MediaPath("tone 〜 é.mp3");
  ASSERT_TRUE(FileIsThere(settings.BgmFile)) << settings.BgmFile << " was not made";
  EXPECT_TRUE(bgm.Mp3Start()) << "open failed: " << ErrorTextOf(device.sent[0].second);
  EXPECT_TRUE(Eventually([&] { return bgm.Mp3IsPlaying(); })) << "never reported playing";
  bgm.Mp3Close();

  settings.BgmFile = MediaPath("tone 〜 é.wav");
  bgm.WavStart();
  EXPECT_TRUE(Eventually([&] { return HeldOpen(settings.BgmFile); })) << "never started";
  bgm.WavStop();
  EXPECT_TRUE(Eventually([&] { return !HeldOpen(settings.BgmFile); })) << "never stopped";
}

TEST(CdWithoutDrive, FirstWatchGivesUpWithWinesErrorText) {
  RecordingDevice device;
  SettingsRecord settings;
  settings.BgmRepeat = 3;
  Tremblix_BGM bgm(device, settings);
  bgm.CdOpen();
  if (device.sent[0].second == 0) {
    bgm.CdClose();
    GTEST_SKIP() << "a CD drive answers here; this test needs a machine without one";
  }

  bgm.CdWatch();
  EXPECT_FALSE(bgm.CdOk);
  ASSERT_EQ(device.sent.size(), 3u);
  EXPECT_EQ(device.sent[2].first, "status cdaudio current track");
  uint32_t status = device.sent[2].second;
  EXPECT_NE(status, 0u);
  EXPECT_EQ(bgm.QueryReply(), ErrorTextOf(status));
  EXPECT_NE(bgm.QueryReply(), kNoErrorText);
  EXPECT_FALSE(bgm.QueryReply().empty());
}

TEST(MciQuery, OfAnUnknownDeviceStartsWithError) {
  Win32MusicDevice device;
  SettingsRecord settings;
  Tremblix_BGM bgm(device, settings);
  std::string result = bgm.MciQuery("status tremblixnothing mode");
  EXPECT_EQ(result.rfind("Error:", 0), 0u) << result;
  EXPECT_EQ(bgm.QueryReply(), ErrorTextOf(std::stoul(result.substr(6))));
}

// The fixed replies are UTF-8, as every text the module keeps.
TEST(FixedTexts, AreUtf8) {
  EXPECT_EQ(Wide(kNoCommandText, CP_UTF8), L"コマンド文字列が指定されていません");
  EXPECT_EQ(Wide(kNoErrorText, CP_UTF8), L"Error (文字列が取れません)");
}

// --- The run's window --------------------------------------------------------

// The run with its music and its power notices, but no photograph and no
// renderer: the watch always finds a window, and the end keeps the process.
class RunWithoutRenderer : public RunForm {
 public:
  RunWithoutRenderer() : RunForm("S") {}
  void CaptureDesktop() override {}
  void StartRenderer(const std::string&) override {}
  bool RendererWindowExists() override { return true; }
  void EndProgram() override { ended = true; }
  bool ended = false;
};

// What the MCI layer says of the alias: its place in milliseconds, or -1 when
// it is not open.
long Mp3Place() {
  char reply[64] = {};
  if (mciSendStringA("status MP3Play position", reply, sizeof reply, nullptr) != 0) return -1;
  return std::atol(reply);
}

bool Mp3Playing() {
  char mode[32] = {};
  return mciSendStringA("status MP3Play mode", mode, sizeof mode, nullptr) == 0 &&
         std::string(mode) == "playing";
}

TEST_F(MusicTest, RunClosesTheMp3WhileTheDisplayIsOffOrAsleepAndPlaysOnFromItsPlace) {
  Settings.BgmKind = kBgmFile;
  Settings.BgmFile = MediaPath("tone long.mp3");
  ASSERT_TRUE(FileIsThere(Settings.BgmFile)) << Settings.BgmFile << " was not made";
  RunWithoutRenderer form;
  form.Start();
  ASSERT_NE(form.hwnd(), nullptr);
  ASSERT_TRUE(Eventually([] { return Mp3Playing(); })) << "the run's MP3 never played";
  ASSERT_TRUE(Eventually([] { return Mp3Place() >= 1500; })) << "at " << Mp3Place() << " ms";

  const long before_off = Mp3Place();
  SendDisplayState(form.hwnd(), 0);
  EXPECT_EQ(Mp3Place(), -1) << "the device stayed open with the display off";
  EXPECT_FALSE(form.run().TimerOn(kTimer1));
  EXPECT_TRUE(form.run().MusicHeld());

  SendDisplayState(form.hwnd(), 1);
  EXPECT_TRUE(Eventually([] { return Mp3Playing(); })) << "not playing again";
  const long resumed = Mp3Place();
  EXPECT_GE(resumed, before_off) << "played from the start, not from its place";
  EXPECT_LT(resumed, before_off + 2000);
  EXPECT_TRUE(form.run().TimerOn(kTimer1));

  // Asleep: closed; a wake of its own starts nothing; the display on does.
  SendPowerEvent(form.hwnd(), kPowerSuspend);
  EXPECT_EQ(Mp3Place(), -1) << "the device stayed open while the machine slept";
  SendPowerEvent(form.hwnd(), kPowerResumeAutomatic);
  EXPECT_EQ(Mp3Place(), -1) << "a wake alone opened the music";
  SendDisplayState(form.hwnd(), 1);
  EXPECT_TRUE(Eventually([] { return Mp3Playing(); })) << "not playing after the wake";

  SendMessageW(form.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(form.ended);
  EXPECT_EQ(Mp3Place(), -1) << "the end left the device open";
  Settings = SettingsRecord();
}

// Records the calls that start the renderer, around the real ones, with a
// program that is harmless to start.
class RecordingProcessCalls : public ProcessCalls {
 public:
  bool CreateSuspended(const std::string&, PROCESS_INFORMATION* process) override {
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    const bool made = ProcessCalls::CreateSuspended(std::string(system) + "\\hostname.exe", process);
    calls.push_back("create " + std::to_string(process->dwProcessId));
    started = process->hProcess;
    return made;
  }
  bool AllowForeground(DWORD process_id, DWORD* error) override {
    calls.push_back("allow " + std::to_string(process_id));
    return ProcessCalls::AllowForeground(process_id, error);
  }
  void Resume(HANDLE thread) override {
    // Still suspended when resumed: the count it had was 1.
    calls.push_back("resume, suspended " + std::to_string(ResumeThread(thread)));
    TerminateProcess(started, 0);
  }
  HANDLE started = nullptr;
  std::vector<std::string> calls;
};

TEST(RendererStart, CreatedSuspendedThenAllowedTheForegroundThenResumed) {
  RecordingProcessCalls calls;
  HANDLE process = StartRendererProcess("C:\\unused\\Tremblix.dll", calls);
  ASSERT_NE(process, nullptr);
  ASSERT_EQ(calls.calls.size(), 3u);
  const std::string id = calls.calls[0].substr(7);
  EXPECT_NE(id, "0");
  EXPECT_EQ(calls.calls[1], "allow " + id);
  EXPECT_EQ(calls.calls[2], "resume, suspended 1");
  WaitForSingleObject(process, 5000);
  CloseHandle(process);
}

}  // namespace
}  // namespace tremblix
