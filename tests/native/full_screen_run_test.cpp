#include "saver/run/full_screen_run.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/native/fake_music_device.h"

namespace tremblix {
namespace {

class RecordingRunHost : public RunHost {
 public:
  void CaptureDesktop() override { calls.push_back("capture"); }
  void StartRenderer(const std::string& path) override { calls.push_back("start " + path); }
  bool RendererWindowExists() override { return window; }
  bool RendererRunning() override { return running; }
  void SetTimer(RunTimer timer, bool on) override {
    calls.push_back("timer" + std::to_string(timer) + (on ? " on" : " off"));
  }
  Presence MusicFilePresence(const std::string&) override { return ++looks, presence; }
  void ShowCursor() override { calls.push_back("show cursor"); }
  void EndProgram() override { calls.push_back("end"); }

  bool window = false;
  bool running = true;
  Presence presence = Presence::kThere;
  int looks = 0;
  std::vector<std::string> calls;
};

class FullScreenRunTest : public ::testing::Test {
 protected:
  FullScreenRun& Run(int16_t kind, const std::string& file, const std::string& letter = "S") {
    settings.BgmKind = kind;
    settings.BgmFile = file;
    run = std::make_unique<FullScreenRun>(host, music, settings, letter, "C:\\Saver",
                                          &Cp932LeadByte);
    return *run;
  }
  // Ends the run the usual way: the window comes, then goes.
  void RendererComesAndGoes() {
    host.window = true;
    run->Timer3_Timer();
    host.window = false;
    run->Timer3_Timer();
  }

  RecordingRunHost host;
  FakeMusicDevice device;
  SettingsRecord settings;
  Tremblix_BGM music{device, settings};
  std::unique_ptr<FullScreenRun> run;
};

TEST(MusicFileTypeOf, LooksAtTheLastThreeCharactersOnly) {
  for (LeadByteTest lead : {&NoLeadBytes, &Cp932LeadByte}) {
    EXPECT_EQ(MusicFileTypeOf("C:\\m\\song.wav", lead), MusicFileType::kWav);
    EXPECT_EQ(MusicFileTypeOf("C:\\m\\song.WaV", lead), MusicFileType::kWav);
    EXPECT_EQ(MusicFileTypeOf("songwav", lead), MusicFileType::kWav);
    EXPECT_EQ(MusicFileTypeOf("C:\\m\\song.mp3", lead), MusicFileType::kMp3);
    EXPECT_EQ(MusicFileTypeOf("C:\\m\\song.MP3", lead), MusicFileType::kMp3);
    EXPECT_EQ(MusicFileTypeOf("C:\\m\\song.ogg", lead), MusicFileType::kOther);
    EXPECT_EQ(MusicFileTypeOf("p3", lead), MusicFileType::kOther);
    EXPECT_EQ(MusicFileTypeOf("", lead), MusicFileType::kOther);
  }
  // Code page 932: ソング.mp3 is a music file; a name whose last three bytes
  // spell wav, the first of them the second byte of ヘ (83 77), is not.
  EXPECT_EQ(MusicFileTypeOf("C:\\\x83\x5C\x83\x93\x83\x4F.mp3", &Cp932LeadByte),
            MusicFileType::kMp3);
  EXPECT_EQ(MusicFileTypeOf("C:\\m\\\x83wav", &Cp932LeadByte), MusicFileType::kOther);
  EXPECT_EQ(MusicFileTypeOf("C:\\m\\\x83wav", &NoLeadBytes), MusicFileType::kWav);
}

TEST_F(FullScreenRunTest, CapturesBeforeStartingTheRendererWithItsPath) {
  Run(0, "").Form_Load();
  EXPECT_EQ(host.calls, (std::vector<std::string>{"timer3 on", "capture",
                                                  "start C:\\Saver\\Tremblix.dll"}));
  EXPECT_TRUE(device.sent.empty());
  EXPECT_TRUE(device.sounds.empty());
}

TEST_F(FullScreenRunTest, AnMp3PlaysAndIsRepeatedAndClosed) {
  Run(2, "C:\\m\\song.mp3").Form_Load();
  EXPECT_TRUE(run->TimerOn(kTimer1));
  EXPECT_EQ(device.sent.front(), "open \"C:\\m\\song.mp3\" type MPEGVideo Alias MP3Play");
  device.Script("status MP3Play mode", 0, "playing");
  run->Timer1_Timer();
  EXPECT_EQ(device.sent.back(), "status MP3Play mode");
  device.Script("status MP3Play mode", 0, "stopped");
  run->Timer1_Timer();
  EXPECT_EQ(device.sent.back(), "play MP3Play from 0");
  RendererComesAndGoes();
  EXPECT_FALSE(run->TimerOn(kTimer1));
  EXPECT_EQ(device.sent.back(), "close MP3Play");
  EXPECT_EQ(host.calls.back(), "end");
}

TEST_F(FullScreenRunTest, AWavLoopsAndStops) {
  Run(2, "C:\\m\\song.WAV").Form_Load();
  ASSERT_EQ(device.sounds.size(), 1u);
  EXPECT_EQ(device.sounds[0].sound, "C:\\m\\song.WAV");
  EXPECT_FALSE(run->TimerOn(kTimer1));
  RendererComesAndGoes();
  ASSERT_EQ(device.sounds.size(), 2u);
  EXPECT_FALSE(device.sounds[1].has_sound);
}

TEST_F(FullScreenRunTest, OtherFilesAndKindsPlayNothing) {
  for (auto [kind, file] : {std::pair<int16_t, const char*>{2, "song.ogg"}, {0, "song.mp3"},
                            {5, "song.wav"}, {-1, "x"}}) {
    FakeMusicDevice quiet;
    Tremblix_BGM silent(quiet, settings);
    settings.BgmKind = kind;
    settings.BgmFile = file;
    FullScreenRun other(host, silent, settings, "S", "C:\\Saver", &Cp932LeadByte);
    other.Form_Load();
    other.Form_QueryUnload();
    EXPECT_TRUE(quiet.sent.empty()) << kind << ' ' << file;
    EXPECT_TRUE(quiet.sounds.empty()) << kind << ' ' << file;
  }
}

TEST_F(FullScreenRunTest, ACdThatFailsStopsItsMonitorAndIsNotClosedAtTheEnd) {
  device.Script("open cdaudio", 266);  // no drive: nothing spins up
  device.Script("status cdaudio current track", 266);
  Run(1, "").Form_Load();
  EXPECT_EQ(device.sent, (std::vector<std::string>{"open cdaudio", "set cdaudio time format tmsf"}));
  EXPECT_TRUE(run->TimerOn(kTimer2));
  run->Timer2_Timer();
  EXPECT_FALSE(run->TimerOn(kTimer2));
  size_t sent = device.sent.size();
  RendererComesAndGoes();
  EXPECT_EQ(device.sent.size(), sent) << "the end made a CD call";
}

TEST_F(FullScreenRunTest, APlayingCdIsClosedAtTheEnd) {
  device.Script("status cdaudio current track", 0, "1");
  device.Script("status cdaudio mode", 0, "playing");
  Run(1, "").Form_Load();
  run->Timer2_Timer();
  EXPECT_TRUE(run->TimerOn(kTimer2));
  RendererComesAndGoes();
  EXPECT_FALSE(run->TimerOn(kTimer2));
  EXPECT_EQ(device.sent.back(), "close cdaudio");
}

TEST_F(FullScreenRunTest, TheCursorComesBackOnlyAfterTheSwitchS) {
  Run(0, "", "S").Form_Load();
  RendererComesAndGoes();
  EXPECT_EQ(host.calls.end()[-2], "show cursor");

  host.calls.clear();
  Run(0, "", "").Form_Load();
  RendererComesAndGoes();
  EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "show cursor"), 0);
  EXPECT_EQ(host.calls.back(), "end");
}

TEST_F(FullScreenRunTest, TheWatchWaitsForTheWindowToAppearThenForItToGo) {
  Run(0, "").Form_Load();
  for (int tick = 1; tick < FullScreenRun::kAppearTicks; ++tick) run->Timer3_Timer();
  EXPECT_NE(host.calls.back(), "end");
  host.window = true;
  for (int tick = 0; tick < 100; ++tick) run->Timer3_Timer();  // any window so titled
  EXPECT_NE(host.calls.back(), "end");
  host.window = false;
  run->Timer3_Timer();
  EXPECT_EQ(host.calls.end()[-3], "timer3 off");
  EXPECT_EQ(host.calls.back(), "end");
}

TEST_F(FullScreenRunTest, ARendererThatNeverShowsAWindowEndsTheRun) {
  Run(2, "song.mp3").Form_Load();
  for (int tick = 0; tick < FullScreenRun::kAppearTicks; ++tick) run->Timer3_Timer();
  EXPECT_EQ(host.calls.back(), "end");
  EXPECT_EQ(device.sent.back(), "close MP3Play");
}

TEST_F(FullScreenRunTest, ARendererThatEndedBeforeItsWindowWasSeenEndsTheRunAtOnce) {
  Run(0, "").Form_Load();
  run->Timer3_Timer();
  EXPECT_NE(host.calls.back(), "end");
  host.running = false;  // killed, or never started at all
  run->Timer3_Timer();
  EXPECT_EQ(host.calls.back(), "end");
}

TEST_F(FullScreenRunTest, AnUnloadFromTheSystemEndsTheRunOnce) {
  Run(2, "song.mp3").Form_Load();
  host.window = true;
  run->Timer3_Timer();
  run->Form_QueryUnload();
  run->Form_QueryUnload();
  EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "end"), 1);
  EXPECT_EQ(std::count(device.sent.begin(), device.sent.end(), "close MP3Play"), 1);
}

TEST_F(FullScreenRunTest, ALogOffEndsTheRunAsItsOwnEndDoes) {
  Run(2, "song.mp3", "S").Form_Load();
  host.window = true;
  run->Timer3_Timer();
  const std::vector<std::string> calls = host.calls, sent = device.sent;

  // Asked first, the run lets the session end and does nothing yet: another
  // program may still call the log-off off.
  EXPECT_TRUE(run->SessionMayEnd());
  run->SessionEnds(false);
  EXPECT_EQ(host.calls, calls);
  EXPECT_EQ(device.sent, sent);
  EXPECT_TRUE(run->TimerOn(kTimer1));

  run->SessionEnds(true);
  EXPECT_EQ(std::vector<std::string>(host.calls.begin() + calls.size(), host.calls.end()),
            (std::vector<std::string>{"timer1 off", "show cursor", "end"}));
  EXPECT_EQ(std::vector<std::string>(device.sent.begin() + sent.size(), device.sent.end()),
            (std::vector<std::string>{"stop MP3Play", "close MP3Play"}));
}

// The commands sent since the mark.
std::vector<std::string> SentSince(const FakeMusicDevice& device, size_t mark) {
  return std::vector<std::string>(device.sent.begin() + mark, device.sent.end());
}

TEST_F(FullScreenRunTest, AnMp3IsClosedWhileTheDisplayIsOffAndPlaysOnFromItsPlace) {
  device.Script("status MP3Play position", 0, "61250");
  device.Script("status MP3Play length", 0, "180000");
  Run(2, "C:\\m\\song.mp3").Form_Load();
  EXPECT_EQ(device.sent[1], "set MP3Play time format milliseconds");

  size_t mark = device.sent.size();
  run->DisplayStateChanged(0);
  EXPECT_EQ(SentSince(device, mark), (std::vector<std::string>{
                                          "status MP3Play position", "stop MP3Play",
                                          "close MP3Play"}));
  EXPECT_FALSE(run->TimerOn(kTimer1)) << "the repeat would play a closed alias";
  EXPECT_TRUE(run->MusicHeld());

  mark = device.sent.size();
  run->DisplayStateChanged(0);  // told again: nothing more to close
  EXPECT_EQ(device.sent.size(), mark);

  run->DisplayStateChanged(2);  // dimmed still shows
  EXPECT_EQ(SentSince(device, mark),
            (std::vector<std::string>{"open \"C:\\m\\song.mp3\" type MPEGVideo Alias MP3Play",
                                      "set MP3Play time format milliseconds",
                                      "status MP3Play length", "play MP3Play from 61250"}));
  EXPECT_TRUE(run->TimerOn(kTimer1));
  EXPECT_FALSE(run->MusicHeld());

  mark = device.sent.size();
  run->DisplayStateChanged(1);  // already playing
  EXPECT_EQ(device.sent.size(), mark);
}

TEST_F(FullScreenRunTest, AnMp3PausedAtItsEndStartsAgainFromTheBeginning) {
  device.Script("status MP3Play position", 0, "180000");
  device.Script("status MP3Play length", 0, "180000");
  Run(2, "song.mp3").Form_Load();
  run->DisplayStateChanged(0);
  run->DisplayStateChanged(1);
  EXPECT_EQ(device.sent.back(), "play MP3Play from 0");
}

TEST_F(FullScreenRunTest, AWavStopsWhileTheDisplayIsOffAndStartsAgain) {
  Run(2, "C:\\m\\song.wav").Form_Load();
  run->DisplayStateChanged(0);
  ASSERT_EQ(device.sounds.size(), 2u);
  EXPECT_FALSE(device.sounds[1].has_sound);
  run->DisplayStateChanged(1);
  ASSERT_EQ(device.sounds.size(), 3u);
  EXPECT_EQ(device.sounds[2].sound, "C:\\m\\song.wav");
  EXPECT_EQ(device.sounds[2].flags, device.sounds[0].flags);
}

TEST_F(FullScreenRunTest, ACdIsClosedWithItsWatchAndPlaysOnAtItsTrack) {
  settings.BgmRepeat = 0;
  device.Script("status cdaudio current track", 0, "3");
  device.Script("status cdaudio mode", 0, "playing");
  Run(1, "").Form_Load();
  run->Timer2_Timer();

  size_t mark = device.sent.size();
  run->DisplayStateChanged(0);
  EXPECT_EQ(SentSince(device, mark), (std::vector<std::string>{"status cdaudio current track",
                                                               "stop cdaudio", "close cdaudio"}));
  EXPECT_FALSE(run->TimerOn(kTimer2)) << "a watch of a closed drive gives the CD up";

  mark = device.sent.size();
  run->DisplayStateChanged(1);
  EXPECT_EQ(SentSince(device, mark),
            (std::vector<std::string>{"open cdaudio", "set cdaudio time format tmsf",
                                      "play cdaudio from 3"}));
  EXPECT_TRUE(run->TimerOn(kTimer2));
  run->Timer2_Timer();
  EXPECT_TRUE(run->TimerOn(kTimer2));
}

TEST_F(FullScreenRunTest, AfterASleepOnlyTheDisplayOrAPersonBringsTheMusicBack) {
  Run(2, "song.mp3").Form_Load();
  run->Suspending();
  EXPECT_TRUE(run->MusicHeld());
  // Woken by a timer: the display may be dark and no one there.
  run->Resumed(false);
  EXPECT_TRUE(run->MusicHeld());
  run->DisplayStateChanged(1);
  EXPECT_FALSE(run->MusicHeld());

  run->Suspending();
  run->Resumed(true);  // a key or the pointer woke it
  EXPECT_FALSE(run->MusicHeld());

  // A notice that the display is on while the machine sleeps starts nothing.
  run->Suspending();
  run->DisplayStateChanged(1);
  EXPECT_TRUE(run->MusicHeld());
}

// Display o off, O on, d dimmed; s sleep, w a wake of its own, W a person's;
// sessions 2, 4 disconnect, 1, 3 connect, 7 lock, 8 unlock, 5, 6, 9 nothing.
TEST(PowerWatch, SomeoneIsThereOnlyWhileTheDisplayShowsTheMachineWakesAndTheSessionIsSeen) {
  for (auto [events, there] : std::initializer_list<std::pair<std::string, bool>>{
           {"", 1}, {"o", 0}, {"oO", 1}, {"od", 1}, {"s", 0}, {"sw", 0}, {"swO", 1}, {"sW", 1},
           {"sO", 0}, {"7", 0}, {"78", 1}, {"2", 0}, {"21", 1}, {"23", 1}, {"4", 0}, {"43", 1},
           {"41", 1}, {"721", 0}, {"7218", 1}, {"o7O", 0}, {"o78O", 1}, {"s7W8", 1}, {"5691", 1}}) {
    PowerWatch watch;
    for (char e : events) {
      if (e == 'o' || e == 'O' || e == 'd') watch.DisplayState(e == 'o' ? 0 : e == 'O' ? 1 : 2);
      if (e == 's' || e == 'w' || e == 'W') e == 's' ? watch.Suspending() : watch.Resumed(e == 'W');
      if (e >= '0' && e <= '9') watch.SessionChanged(static_cast<uintptr_t>(e - '0'));
    }
    EXPECT_EQ(watch.SomeoneThere(), there) << '"' << events << '"';
  }
}

// A file not known to be there is neither opened nor played, but looked for.
TEST_F(FullScreenRunTest, AFileThatIsAwayIsLookedForOnTheScheduleAndPlaysOnceThere) {
  host.presence = Presence::kGone;  // at the first look, which was the load's: forgotten
  Run(2, "a.mp3").Form_Load();
  EXPECT_TRUE(!run->TimerOn(kTimer4) && !run->MusicHeld() && device.sent.empty());
  for (auto [file, away] : {std::pair<std::string, Presence>{"a.mp3", Presence::kGone},
                            {"a.mp3", Presence::kUnknown}, {"a.wav", Presence::kGone}}) {
    device.sent.clear();
    host.presence = Presence::kUnknown;
    Run(2, file).Form_Load();
    host.presence = away;
    std::vector<unsigned> looked = {0};
    for (unsigned second = 1, looks = host.looks; second <= 600; ++second, looks = host.looks) {
      run->Timer4_Timer();
      if (host.looks > static_cast<int>(looks)) looked.push_back(second);
    }
    EXPECT_TRUE(device.sent.empty() && device.sounds.empty()) << file << " opened while away";
    for (size_t i = 2; i < looked.size(); ++i) {
      const unsigned gap = looked[i] - looked[i - 1], before = looked[i - 1] - looked[i - 2];
      const bool thins = gap >= before && gap <= 60 && (looked[i - 1] < 60 || gap == 60);
      EXPECT_TRUE(i <= 10 ? gap == 1 : thins) << file << ' ' << gap << " s after " << looked[i - 1];
    }
    host.presence = Presence::kThere;
    for (int second = 0; second < 60 && run->TimerOn(kTimer4); ++second) run->Timer4_Timer();
    EXPECT_EQ(device.sent.size() + device.sounds.size(), file == "a.wav" ? 1u : 4u) << file;
  }
}

// Opens that block, as on a share that has gone, until let go or cancelled on their thread while
// they block (a cancel that comes before is lost, as CancelSynchronousIo's is).
struct BlockedOpens : PresenceCalls {
  bool Opens(const std::string& path) override {
    std::unique_lock<std::mutex> hold(lock);
    ++checks, blocked.insert(Self()), changed.notify_all();
    changed.wait(hold, [&] { return let_go || cancelled.count(Self()); });
    return ++answered, path == "there";
  }
  uintptr_t ThisThread() override { return Self(); }
  void CancelOpen(uintptr_t thread) override { Change([&] { if (blocked.count(thread)) cancelled.insert(thread); }); }
  void Forget(uintptr_t) override {}
  void WaitFor(int begun) { std::unique_lock<std::mutex> hold(lock); changed.wait(hold, [&] { return checks >= begun; }); }
  template <typename F> void Change(F change) { std::lock_guard<std::mutex> hold(lock); change(), changed.notify_all(); }
  static uintptr_t Self() { return std::hash<std::thread::id>()(std::this_thread::get_id()); }
  std::mutex lock;
  std::condition_variable changed;
  std::set<uintptr_t> blocked, cancelled;
  bool let_go = false;
  int checks = 0, answered = 0;
};

// The test keeps the time: its wait either lets the whole bound pass at
// once, or would wait for ever for the check.
TEST(BoundedPresence, WaitsItsBoundOnlyWhileTheCheckIsOutAndStartsNoSecondCheck) {
  auto opens = std::make_shared<BlockedOpens>();
  bool time_runs_out = true;
  std::vector<std::chrono::milliseconds> waited;
  auto wait = [&](std::unique_lock<std::mutex>& hold, std::condition_variable& answered,
                  std::chrono::milliseconds bound, const std::function<bool()>& done) {
    waited.push_back(bound);
    if (time_runs_out) return done();
    answered.wait(hold, done);
    return true;
  };
  BoundedPresence presence(opens, std::chrono::milliseconds(200), std::chrono::seconds(30), wait);
  for (int ask = 0; ask < 2; ++ask) EXPECT_EQ(presence.Ask("there"), Presence::kUnknown);
  EXPECT_EQ(waited, std::vector<std::chrono::milliseconds>{std::chrono::milliseconds(200)})
      << "a second wait, or another bound, for a path whose check is still out";
  opens->WaitFor(1);
  EXPECT_EQ(opens->checks, 1) << "a second check of a path whose first is still out";
  opens->Change([&] { opens->let_go = true; });
  time_runs_out = false;
  // Once the first has answered, a check starts afresh, answered as soon as it comes.
  Presence answer = Presence::kUnknown;
  while (answer == Presence::kUnknown) answer = presence.Ask("there");
  EXPECT_EQ(answer, Presence::kThere);
  EXPECT_EQ(presence.Ask("gone"), Presence::kGone);
}

// The process cannot end while a thread blocks in an open: the end cancels it there.
TEST(BoundedPresence, TheEndCancelsAnOpenThatBlocksAndStartsNoOther) {
  auto opens = std::make_shared<BlockedOpens>();
  BoundedPresence presence(opens, std::chrono::milliseconds(1), std::chrono::seconds(30));
  EXPECT_EQ(presence.Ask("share"), Presence::kUnknown);
  opens->WaitFor(1);
  presence.EndChecks();
  EXPECT_EQ(opens->answered, 1) << "the end did not wait for the cancelled open";
  EXPECT_EQ(presence.Ask("other"), Presence::kUnknown);
  EXPECT_EQ(opens->checks, 1);
}

TEST_F(FullScreenRunTest, AReopenThatFailsIsTriedEachSecondWhileMusicMayPlay) {
  Run(2, "song.mp3").Form_Load();
  run->DisplayStateChanged(0);
  device.Script("open \"song.mp3\" type MPEGVideo Alias MP3Play", 275);
  run->DisplayStateChanged(1);
  EXPECT_TRUE(run->MusicHeld());
  EXPECT_TRUE(run->TimerOn(kTimer4));
  EXPECT_FALSE(run->TimerOn(kTimer1));
  run->Timer4_Timer();
  EXPECT_TRUE(run->TimerOn(kTimer4));

  run->DisplayStateChanged(0);  // no use trying while dark
  EXPECT_FALSE(run->TimerOn(kTimer4));
  run->DisplayStateChanged(1);
  device.answers.erase("open \"song.mp3\" type MPEGVideo Alias MP3Play");  // the share is back
  run->Timer4_Timer();
  EXPECT_FALSE(run->MusicHeld());
  EXPECT_FALSE(run->TimerOn(kTimer4));
  EXPECT_TRUE(run->TimerOn(kTimer1));
}

TEST_F(FullScreenRunTest, ARunEndedWhileTheMusicIsClosedHasNothingToStop) {
  for (int16_t kind : {1, 2}) {
    FakeMusicDevice quiet;
    Tremblix_BGM music_of(quiet, settings);
    settings.BgmKind = kind;
    settings.BgmFile = "song.mp3";
    FullScreenRun held(host, music_of, settings, "S", "C:\\Saver", &Cp932LeadByte);
    held.Form_Load();
    held.DisplayStateChanged(0);
    const size_t mark = quiet.sent.size();
    held.Form_QueryUnload();
    EXPECT_EQ(quiet.sent.size(), mark) << kind;
    EXPECT_FALSE(held.TimerOn(kTimer1) || held.TimerOn(kTimer2) || held.TimerOn(kTimer4));
    EXPECT_EQ(host.calls.back(), "end");
  }
}

TEST_F(FullScreenRunTest, WithoutMusicOrAfterAFailedOpenNoticesCallNothing) {
  device.Script("open \"gone.mp3\" type MPEGVideo Alias MP3Play", 275);
  for (auto [kind, file] : {std::pair<int16_t, const char*>{0, ""}, {2, "gone.mp3"}}) {
    Run(kind, file).Form_Load();
    const size_t mark = device.sent.size();
    run->DisplayStateChanged(0);
    run->DisplayStateChanged(1);
    run->Suspending();
    run->Resumed(true);
    EXPECT_EQ(device.sent.size(), mark) << file;
    EXPECT_FALSE(run->TimerOn(kTimer1)) << "a repeat for a file that never opened";
  }
}

}  // namespace
}  // namespace tremblix
