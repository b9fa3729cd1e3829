// The full-screen run: capture, renderer start, music, and the watch that ends
// the run once the renderer's window has gone.
#pragma once

#include <string>
#include <string_view>

#include "saver/common/ansi_text.h"
#include "saver/common/power.h"
#include "saver/common/presence.h"
#include "saver/music/bgm.h"
#include "saver/music/settings.h"

namespace tremblix {

enum class MusicFileType { kOther, kWav, kMp3 };

// By the last three characters alone, upper-cased: no dot is looked for. The
// program keeps names in UTF-8, where NoLeadBytes reads them rightly: no byte
// of a longer character is a letter.
MusicFileType MusicFileTypeOf(std::string_view file, LeadByteTest lead);

// Timer4 counts, each second, how long music that did not open stays away,
// and opens it again when the schedule says.
enum RunTimer { kTimer1 = 1, kTimer2 = 2, kTimer3 = 3, kTimer4 = 4 };
inline constexpr unsigned kTimerIntervalMs[] = {0, 1000, 200, 500, 1000};

// After a failed open, the seconds until the next one, by how long the music
// has been away: each second for the first ten (a share or a drive coming
// back after a wake takes a few), then half the time away, then once a
// minute from the first minute on. Each look that finds a share gone may
// hold a thread for the network's time-out, so looks thin out.
unsigned SecondsUntilNextLook(unsigned seconds_away);

// What the run asks of the platform.
class RunHost {
 public:
  virtual ~RunHost() = default;
  virtual void CaptureDesktop() = 0;  // writes the four hand-off pictures
  virtual void StartRenderer(const std::string& path) = 0;
  virtual bool RendererWindowExists() = 0;
  // Whether the renderer process started and has not ended yet.
  virtual bool RendererRunning() = 0;
  virtual void SetTimer(RunTimer timer, bool on) = 0;
  // Whether the music file is there, known within about a second; a file
  // on a share that does not answer in time is kUnknown, and no music call
  // opens it then. First asked after the capture: the settings were loaded
  // without it.
  virtual Presence MusicFilePresence(const std::string& path) = 0;
  virtual void ShowCursor() = 0;
  virtual void EndProgram() = 0;
};

// The hidden form Tremblix_S.
class FullScreenRun {
 public:
  // How long the watch waits for a running renderer's window to first appear:
  // one that never shows it must not keep the run (and the hidden cursor)
  // alive for ever.
  static constexpr int kAppearTicks = 10;  // of Timer3, 5 s

  FullScreenRun(RunHost& host, Tremblix_BGM& music, const SettingsRecord& settings,
                std::string switch_letter, std::string program_folder, LeadByteTest lead);

  void Form_Load();
  void Timer1_Timer();
  void Timer2_Timer();
  void Timer3_Timer();
  void Timer4_Timer();
  void Form_QueryUnload();

  // What Windows says of the display, of sleep and of the session. Music
  // plays only while someone could hear it; the rest of the run goes on as
  // it was.
  void DisplayStateChanged(uint32_t state);
  void Suspending();
  void Resumed(bool by_person);
  // The session locked or unlocked, disconnected or connected again.
  void SessionChanged(uintptr_t event);

  // A log-off or shut-down: the run never objects to one, and once the
  // session really ends (not when the end is called off) the run ends as its
  // own end does. The renderer hears of the session's end for itself.
  bool SessionMayEnd() const { return true; }
  void SessionEnds(bool ending);

  bool TimerOn(RunTimer timer) const { return timer_on_[timer]; }
  // Closed while no one could hear it, to be opened again.
  bool MusicHeld() const { return held_; }
  const std::string& RendererPath() const { return renderer_path_; }

 private:
  void Switch(RunTimer timer, bool on);
  void PowerChanged();
  void HoldMusic();
  void ReopenMusic();
  void LookAgainLater();
  bool TryReopen();
  bool FileThere();
  void StopReopening();

  // What the run plays; nothing once the CD has been given up.
  enum class Music { kNone, kCd, kWav, kMp3 };

  RunHost& host_;
  Tremblix_BGM& music_;
  const SettingsRecord& settings_;
  const std::string switch_letter_;
  const std::string program_folder_;
  const MusicFileType file_type_;
  std::string renderer_path_;
  bool timer_on_[5] = {};
  Music playing_ = Music::kNone;
  PowerWatch power_;
  bool held_ = false;
  unsigned seconds_away_ = 0;  // of Timer4, since the reopen failed
  unsigned next_look_ = 0;     // when the next reopen is due
  bool renderer_seen_ = false;
  int ticks_waiting_ = 0;
  bool ended_ = false;
};

}  // namespace tremblix
