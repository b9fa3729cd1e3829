#include "saver/music/bgm.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "tests/native/fake_music_device.h"

namespace tremblix {
namespace {

using Commands = std::vector<std::string>;

// MCI error codes as Wine gives them here.
constexpr uint32_t kNotOpen = 263;     // MCIERR_INVALID_DEVICE_NAME: a device not open
constexpr uint32_t kNoDevice = 266;    // MCIERR_CANNOT_LOAD_DRIVER: no CD drive
constexpr uint32_t kCannotOpen = 277;  // MCIERR_INTERNAL: an MP3 with no sound device
constexpr uint32_t kOutOfRange = 282;  // MCIERR_OUTOFRANGE

class BgmTest : public ::testing::Test {
 protected:
  FakeMusicDevice device;
  SettingsRecord settings;
  Tremblix_BGM bgm{device, settings};
};

// --- The command layer ------------------------------------------------------

TEST_F(BgmTest, MciSendOfAnEmptyCommandSendsNothing) {
  std::string reply = "old";
  EXPECT_EQ(bgm.MciSend("", reply), -1);
  EXPECT_EQ(reply, kNoCommandText);
  EXPECT_TRUE(device.sent.empty());
}

TEST_F(BgmTest, MciSendGivesTheReplyOfThisCommandOnly) {
  device.Script("status cdaudio mode", 0, "playing");
  std::string reply;
  EXPECT_EQ(bgm.MciSend("status cdaudio mode", reply), 0);
  EXPECT_EQ(reply, "playing");
  // A command that answers nothing must not see the earlier answer.
  EXPECT_EQ(bgm.MciSend("play cdaudio", reply), 0);
  EXPECT_EQ(reply, "");
  EXPECT_EQ(device.sent, (Commands{"status cdaudio mode", "play cdaudio"}));
  EXPECT_EQ(device.reply_lengths, (std::vector<uint32_t>{512, 512}));
}

TEST_F(BgmTest, MciSendOfAFailureGivesTheErrorTextOrTheFallback) {
  device.error_texts[kNotOpen] = "The specified device is not open.";
  device.Script("stop cdaudio", kNotOpen);
  device.Script("stop other", 999);
  std::string reply;
  EXPECT_EQ(bgm.MciSend("stop cdaudio", reply), static_cast<int32_t>(kNotOpen));
  EXPECT_EQ(reply, "The specified device is not open.");
  EXPECT_EQ(bgm.MciSend("stop other", reply), 999);
  EXPECT_EQ(reply, kNoErrorText);
}

// A device that fills every byte it is given, with no NUL anywhere.
class FloodingDevice : public FakeMusicDevice {
 public:
  uint32_t SendCommand(const std::string&, char* reply, uint32_t length) override {
    std::memset(reply, 'x', length);
    return status;
  }
  bool ErrorText(uint32_t, char* text, uint32_t length) override {
    std::memset(text, 'e', length);
    return true;
  }
  uint32_t status = 0;
};

TEST(BgmAreas, RepliesWithoutANulStopAtTheirEnd) {
  FloodingDevice device;
  SettingsRecord settings;
  Tremblix_BGM bgm(device, settings);
  std::string reply;
  bgm.MciSend("status cdaudio mode", reply);
  EXPECT_EQ(reply, std::string(512, 'x'));
  device.status = kNotOpen;
  bgm.MciSend("status cdaudio mode", reply);
  EXPECT_EQ(reply, std::string(256, 'e'));
}

TEST_F(BgmTest, MciQueryGivesTheReplyOrErrorAndTheSignedCode) {
  device.error_texts[kNotOpen] = "not open";
  device.Script("status cdaudio current track", 0, "4");
  device.Script("status nothing mode", kNotOpen);
  device.Script("status odd mode", 0x80000001u);

  EXPECT_EQ(bgm.MciQuery("status cdaudio current track"), "4");
  EXPECT_EQ(bgm.QueryReply(), "4");
  EXPECT_EQ(bgm.MciQuery("status nothing mode"), "Error:263");
  EXPECT_EQ(bgm.QueryReply(), "not open");
  EXPECT_EQ(bgm.MciQuery("status odd mode"), "Error:-2147483647");
  EXPECT_EQ(bgm.MciQuery(""), "Error:-1");
  EXPECT_EQ(bgm.QueryReply(), kNoCommandText);
  EXPECT_EQ(device.sent.size(), 3u);
}

TEST_F(BgmTest, MciPlayBuildsFourShapes) {
  device.Script("play cdaudio to 5", kOutOfRange);
  EXPECT_EQ(bgm.MciPlay("cdaudio", "", ""), 0);
  EXPECT_EQ(bgm.MciPlay("cdaudio", "03:00:00:00", ""), 0);
  EXPECT_EQ(bgm.MciPlay("cdaudio", "", "5"), static_cast<int32_t>(kOutOfRange));
  EXPECT_EQ(bgm.QueryReply(), kNoErrorText);
  EXPECT_EQ(bgm.MciPlay("cdaudio", "3", "5"), 0);
  EXPECT_EQ(device.sent, (Commands{"play cdaudio", "play cdaudio from 03:00:00:00",
                                   "play cdaudio to 5", "play cdaudio from 3 to 5"}));
}

// --- MP3 and WAV files ------------------------------------------------------

TEST_F(BgmTest, Mp3StartOpensTheQuotedPathThenPlays) {
  settings.BgmFile = "C:\\My Music\\a b.mp3";
  EXPECT_TRUE(bgm.Mp3Start());
  EXPECT_EQ(device.sent, (Commands{"open \"C:\\My Music\\a b.mp3\" type MPEGVideo Alias MP3Play",
                                   "set MP3Play time format milliseconds", "play MP3Play"}));
  EXPECT_EQ(device.reply_lengths, (std::vector<uint32_t>{0, 0, 0}));
}

TEST_F(BgmTest, Mp3StartThatCannotOpenStaysSilent) {
  settings.BgmFile = "C:\\broken.mp3";
  device.Script("open \"C:\\broken.mp3\" type MPEGVideo Alias MP3Play", kCannotOpen);
  bgm.Mp3Start();
  EXPECT_EQ(device.sent.size(), 1u);

  // A quote would end the quoted name early; nothing is sent at all.
  device.sent.clear();
  settings.BgmFile = "C:\\a.mp3\" type waveaudio alias X \"";
  bgm.Mp3Start();
  EXPECT_TRUE(device.sent.empty());
}

TEST_F(BgmTest, Mp3IsPlayingReadsTheFirstSevenCharactersOfASuccessfulStatus) {
  struct Case {
    uint32_t status;
    std::string mode;
    bool playing;
  } cases[] = {
      {0, "playing", true},    {0, "playing more", true}, {0, "stopped", false},
      {0, "paused", false},    {0, "", false},            {0, "play", false},
      {kNotOpen, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode + " / " + std::to_string(c.status));
    device.Script("status MP3Play mode", c.status, c.mode);
    EXPECT_EQ(bgm.Mp3IsPlaying(), c.playing);
    EXPECT_EQ(device.sent.back(), "status MP3Play mode");
    EXPECT_EQ(device.reply_lengths.back(), 30u);
  }
}

TEST_F(BgmTest, Mp3RepeatRestartsFromTheBeginningWhenNotPlaying) {
  device.Script("status MP3Play mode", 0, "playing");
  bgm.Mp3Repeat();
  EXPECT_EQ(device.sent, (Commands{"status MP3Play mode"}));

  const Commands restart = {"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"};
  for (auto [status, mode] : {std::pair<uint32_t, std::string>{0, "stopped"},
                              {0, ""},  // no status text yet
                              {kNotOpen, ""}}) {
    SCOPED_TRACE(mode + " / " + std::to_string(status));
    device.sent.clear();
    device.reply_lengths.clear();
    device.Script("status MP3Play mode", status, mode);
    bgm.Mp3Repeat();
    EXPECT_EQ(device.sent, restart);
    EXPECT_EQ(device.reply_lengths, (std::vector<uint32_t>{30, 0, 0}));
  }
}

TEST_F(BgmTest, Mp3CloseStopsAndCloses) {
  bgm.Mp3Close();
  EXPECT_EQ(device.sent, (Commands{"stop MP3Play", "close MP3Play"}));
  EXPECT_EQ(device.reply_lengths, (std::vector<uint32_t>{0, 0}));
}

TEST_F(BgmTest, WavLoopsAsynchronouslyWithoutTheDefaultSoundAndStops) {
  settings.BgmFile = "C:\\My Music\\a b.wav";
  bgm.WavStart();
  bgm.WavStop();
  ASSERT_EQ(device.sounds.size(), 2u);
  EXPECT_TRUE(device.sounds[0].has_sound);
  EXPECT_EQ(device.sounds[0].sound, "C:\\My Music\\a b.wav");
  // Async, no default, loop, a file's name.
  EXPECT_EQ(device.sounds[0].flags, 0x0001u | 0x0002u | 0x0008u | 0x00020000u);
  EXPECT_FALSE(device.sounds[1].has_sound);
  EXPECT_EQ(device.sounds[1].flags, 0u);
  EXPECT_TRUE(device.sent.empty());
}

TEST_F(BgmTest, WavStartWithoutAWaveDeviceDoesNothing) {
  settings.BgmFile = "C:\\a.wav";
  device.wave_devices = 0;
  bgm.WavStart();
  EXPECT_TRUE(device.sounds.empty());
}

// --- The audio CD -----------------------------------------------------------

TEST_F(BgmTest, CdOpenAndCloseSendWithoutReply) {
  bgm.CdOpen();
  bgm.CdClose();
  EXPECT_EQ(device.sent, (Commands{"open cdaudio", "set cdaudio time format tmsf",
                                   "stop cdaudio", "close cdaudio"}));
  EXPECT_EQ(device.reply_lengths, (std::vector<uint32_t>(4, 0)));
}

const char kCurrent[] = "status cdaudio current track";
const char kTracks[] = "status cdaudio number of tracks";
const char kMode[] = "status cdaudio mode";
const Commands kQueries = {kCurrent, kTracks, kMode};

struct Drive {
  std::string current = "1";
  uint32_t current_status = 0;
  uint32_t tracks_status = 0;
  std::string mode = "playing";
  uint32_t mode_status = 0;
};

struct WatchCase {
  const char* what;
  int16_t repeat;
  Drive drive;
  Commands after_queries;
  bool cd_ok;
};

Commands Plus(Commands head, const Commands& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

TEST_F(BgmTest, CdWatchDecisionTable) {
  const Commands jump3 = {"status cdaudio position track 3", "play cdaudio from 03:00:00:00"};
  const WatchCase cases[] = {
      {"whole disc, stopped: plays on", 0, {"5", 0, 0, "stopped"}, {"play cdaudio"}, true},
      {"whole disc, playing", 0, {"5", 0, 0, "playing"}, {}, true},
      {"whole disc, paused", 0, {"5", 0, 0, "paused"}, {}, true},
      {"whole disc, no number needed", 0, {"??", 0, 0, "stopped"}, {"play cdaudio"}, true},
      {"whole disc, mode fails", 0, {"5", 0, 0, "", kNotOpen}, {}, true},
      {"track 3, playing it", 3, {"3", 0, 0, "playing"}, {}, true},
      {"track 3, compared as a number", 3, {"03", 0, 0, "playing"}, {}, true},
      {"track 3, track 4 began", 3, {"4", 0, 0, "playing"}, jump3, true},
      {"track 3, stopped on it", 3, {"3", 0, 0, "stopped"}, jump3, true},
      {"track 3, first look after open", 3, {"1", 0, 0, "stopped"}, jump3, true},
      {"track 3, paused on track 2", 3, {"2", 0, 0, "paused"}, jump3, true},
      {"track 3, mode fails on track 3", 3, {"3", 0, 0, "", kNotOpen}, {}, true},
      {"track 3, current is no number", 3, {"x", 0, 0, "playing"}, {}, false},
      {"track 3, stopped, current no number", 3, {"x", 0, 0, "stopped"}, {}, false},
      {"track 3, current empty", 3, {"", 0, 0, "stopped"}, {}, false},
  };
  for (const WatchCase& c : cases) {
    SCOPED_TRACE(c.what);
    FakeMusicDevice drive;
    drive.Script(kCurrent, c.drive.current_status, c.drive.current);
    drive.Script(kTracks, c.drive.tracks_status, "12");
    drive.Script(kMode, c.drive.mode_status, c.drive.mode);
    drive.Script("status cdaudio position track 3", 0, "03:00:00:00");
    settings.BgmRepeat = c.repeat;
    Tremblix_BGM cd(drive, settings);
    cd.CdWatch();
    EXPECT_EQ(drive.sent, Plus(kQueries, c.after_queries));
    EXPECT_EQ(drive.reply_lengths[2], 255u);
    EXPECT_EQ(cd.CdOk, c.cd_ok);
  }
}

TEST_F(BgmTest, CdWatchGivesUpWhenAQueryFails) {
  device.error_texts[kNoDevice] = "Cannot load driver.";
  device.Script(kCurrent, kNoDevice);
  bgm.CdWatch();
  EXPECT_FALSE(bgm.CdOk);
  EXPECT_EQ(device.sent, (Commands{kCurrent}));
  EXPECT_EQ(bgm.QueryReply(), "Cannot load driver.");

  // Every call starts hopeful; the count query failing gives up too.
  device.sent.clear();
  device.Script(kCurrent, 0, "1");
  device.Script(kTracks, kNoDevice);
  bgm.CdWatch();
  EXPECT_FALSE(bgm.CdOk);
  EXPECT_EQ(device.sent, (Commands{kCurrent, kTracks}));

  // A successful reply that reads like an error counts as one.
  device.sent.clear();
  device.Script(kTracks, 0, "12");
  device.Script(kCurrent, 0, "Terr");
  bgm.CdWatch();
  EXPECT_FALSE(bgm.CdOk);

  device.Script(kCurrent, 0, "1");
  device.Script(kMode, 0, "playing");
  bgm.CdWatch();
  EXPECT_TRUE(bgm.CdOk);
}

TEST_F(BgmTest, CdWatchOfATrackBeyondTheDiscKeepsTrying) {
  settings.BgmRepeat = 31;
  device.Script(kCurrent, 0, "1");
  device.Script(kTracks, 0, "12");
  device.Script(kMode, 0, "stopped");
  device.Script("status cdaudio position track 31", kOutOfRange);
  device.Script("play cdaudio from Error:282", kOutOfRange);
  const Commands each_call = Plus(kQueries, {"status cdaudio position track 31",
                                             "play cdaudio from Error:282"});
  bgm.CdWatch();
  EXPECT_TRUE(bgm.CdOk);
  bgm.CdWatch();
  EXPECT_TRUE(bgm.CdOk);
  EXPECT_EQ(device.sent, Plus(each_call, each_call));
}

// After an open, a failing look is a drive spinning up until its time is up;
// the kept track is owed, never the disc where it stands, then dropped.
TEST_F(BgmTest, ADriveThatOpenedIsGivenItsSpinUpTime) {
  constexpr int kSpin = Tremblix_BGM::kCdSpinUpLooks;
  for (auto [open, failing_looks, given_up_at] : {std::tuple<uint32_t, int, int>{0, 0, 0},
           {0, kSpin, 0}, {0, kSpin + 5, kSpin + 1}, {kNoDevice, kSpin + 5, 1}}) {
    FakeMusicDevice drive;
    drive.Script("open cdaudio", open);
    Tremblix_BGM cd(drive, settings);
    cd.CdOpen();
    int look = 1;
    for (; look <= kSpin + 5 && (cd.CdOk || look == 1); ++look) {
      drive.Script(kCurrent, look <= failing_looks ? 262u : 0u, "1");
      cd.CdWatch();
    }
    EXPECT_EQ(cd.CdOk ? 0 : look - 1, given_up_at) << open << " " << failing_looks;
  }
  device.Script(kCurrent, 0, "3");
  device.Script(kMode, 0, "stopped");
  for (int refused_looks : {kSpin + 1, 1}) {
    device.Script("play cdaudio from 3", 262);
    bgm.CdPause();
    bgm.CdResume();
    const size_t mark = device.sent.size();
    for (int look = 0; look < refused_looks; ++look) bgm.CdWatch();
    device.answers.erase("play cdaudio from 3");
    bgm.CdWatch();
    bgm.CdWatch();  // owed no longer
    EXPECT_EQ(std::count(device.sent.begin() + mark, device.sent.end(), "play cdaudio from 3"),
              refused_looks + (refused_looks > kSpin ? 0 : 1));
    EXPECT_EQ(std::count(device.sent.begin() + mark, device.sent.end(), "play cdaudio"),
              refused_looks > kSpin ? 3 : 1);
  }
}

TEST_F(BgmTest, CdWatchHoldsTrackThreeAcrossCalls) {
  settings.BgmRepeat = 3;
  device.Script(kTracks, 0, "12");
  device.Script("status cdaudio position track 3", 0, "03:00:00:00");
  const Commands jump = Plus(kQueries, {"status cdaudio position track 3",
                                        "play cdaudio from 03:00:00:00"});
  // Opened: stopped on track 1; then playing track 3; then track 4 begins.
  for (auto [current, mode, expected] :
       {std::tuple<std::string, std::string, Commands>{"1", "stopped", jump},
        {"3", "playing", kQueries},
        {"4", "playing", jump}}) {
    SCOPED_TRACE(current + " " + mode);
    device.sent.clear();
    device.Script(kCurrent, 0, current);
    device.Script(kMode, 0, mode);
    bgm.CdWatch();
    EXPECT_EQ(device.sent, expected);
    EXPECT_TRUE(bgm.CdOk);
  }
}

}  // namespace
}  // namespace tremblix
