#include "saver/run/full_screen_run.h"

#include <utility>

#include "saver/startup/startup.h"

namespace tremblix {

MusicFileType MusicFileTypeOf(std::string_view file, LeadByteTest lead) {
  // Three characters of one byte each, or neither: no two-byte character is
  // a letter of WAV or MP3, whatever its second byte.
  std::string last(LastCharacters(file, 3, lead));
  if (last.size() != 3) return MusicFileType::kOther;
  for (char& c : last) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (last == "WAV") return MusicFileType::kWav;
  if (last == "MP3") return MusicFileType::kMp3;
  return MusicFileType::kOther;
}

unsigned SecondsUntilNextLook(unsigned seconds_away) {
  if (seconds_away < 10) return 1;
  if (seconds_away < 60) return seconds_away / 2;
  return 60;
}

FullScreenRun::FullScreenRun(RunHost& host, Tremblix_BGM& music, const SettingsRecord& settings,
                             std::string switch_letter, std::string program_folder,
                             LeadByteTest lead)
    : host_(host),
      music_(music),
      settings_(settings),
      switch_letter_(std::move(switch_letter)),
      program_folder_(std::move(program_folder)),
      file_type_(MusicFileTypeOf(settings.BgmFile, lead)) {}

void FullScreenRun::Switch(RunTimer timer, bool on) {
  timer_on_[timer] = on;
  host_.SetTimer(timer, on);
}

void FullScreenRun::Form_Load() {
  Switch(kTimer3, true);
  // The pictures are written and closed before the renderer starts, so it
  // never reads one of this run half-written.
  host_.CaptureDesktop();

  renderer_path_ = program_folder_ + kRendererName;
  host_.StartRenderer(renderer_path_);

  if (settings_.BgmKind == kBgmCd) {
    music_.CdOpen();
    Switch(kTimer2, true);
    playing_ = Music::kCd;
  } else if (settings_.BgmKind == kBgmFile && file_type_ != MusicFileType::kOther) {
    // Opened only once it is known to be there: a file on a share that has
    // gone would hold the run's window for the network's time-out. One that
    // is away is looked for again on the schedule. The load left this first
    // look to us: a file known to be gone is forgotten, as the load forgets
    // it, and plays nothing.
    const Presence presence = host_.MusicFilePresence(settings_.BgmFile);
    if (presence == Presence::kGone) {
      playing_ = Music::kNone;
    } else if (presence == Presence::kUnknown) {
      playing_ = file_type_ == MusicFileType::kWav ? Music::kWav : Music::kMp3;
      held_ = true;
      LookAgainLater();
    } else if (file_type_ == MusicFileType::kWav) {
      music_.WavStart();
      playing_ = Music::kWav;
    } else if (music_.Mp3Start()) {
      // A file there that does not open has nothing to repeat, pause or resume.
      Switch(kTimer1, true);
      playing_ = Music::kMp3;
    }
  }
}

bool FullScreenRun::FileThere() {
  return host_.MusicFilePresence(settings_.BgmFile) == Presence::kThere;
}

void FullScreenRun::Timer1_Timer() { music_.Mp3Repeat(); }

void FullScreenRun::Timer2_Timer() {
  music_.CdWatch();
  Switch(kTimer2, music_.CdOk);
  if (!music_.CdOk) playing_ = Music::kNone;
}

void FullScreenRun::Timer4_Timer() {
  if (!held_ || !power_.SomeoneThere()) {
    StopReopening();
    return;
  }
  if (++seconds_away_ < next_look_) return;
  if (TryReopen()) {
    held_ = false;
    StopReopening();
  } else {
    next_look_ = seconds_away_ + SecondsUntilNextLook(seconds_away_);
  }
}

void FullScreenRun::StopReopening() {
  if (timer_on_[kTimer4]) Switch(kTimer4, false);
}

void FullScreenRun::DisplayStateChanged(uint32_t state) {
  power_.DisplayState(state);
  PowerChanged();
}

void FullScreenRun::Suspending() {
  power_.Suspending();
  PowerChanged();
}

void FullScreenRun::Resumed(bool by_person) {
  power_.Resumed(by_person);
  PowerChanged();
}

void FullScreenRun::SessionChanged(uintptr_t event) {
  power_.SessionChanged(event);
  PowerChanged();
}

void FullScreenRun::PowerChanged() {
  if (ended_ || playing_ == Music::kNone) return;
  if (!power_.SomeoneThere()) {
    if (!held_) HoldMusic();
    StopReopening();
  } else if (held_) {
    ReopenMusic();
  }
}

// An open audio stream keeps Windows awake: the device is closed, not paused.
void FullScreenRun::HoldMusic() {
  held_ = true;
  switch (playing_) {
    case Music::kMp3:
      Switch(kTimer1, false);
      music_.Mp3Pause();
      break;
    case Music::kWav:
      music_.WavStop();
      break;
    case Music::kCd:
      // A watch left on would find the drive closed and give the CD up.
      Switch(kTimer2, false);
      music_.CdPause();
      break;
    case Music::kNone:
      break;
  }
}

// A drive or a share may not be back yet: tried again on the schedule,
// silently, from its start.
void FullScreenRun::ReopenMusic() {
  if (TryReopen()) {
    held_ = false;
    StopReopening();
  } else {
    LookAgainLater();
  }
}

void FullScreenRun::LookAgainLater() {
  seconds_away_ = 0;
  next_look_ = SecondsUntilNextLook(0);
  if (!timer_on_[kTimer4]) Switch(kTimer4, true);
}

bool FullScreenRun::TryReopen() {
  switch (playing_) {
    case Music::kMp3:
      if (!FileThere() || !music_.Mp3Resume()) return false;
      Switch(kTimer1, true);
      return true;
    case Music::kWav:
      // The sound player says yes to a missing file: only the look says no.
      if (!FileThere()) return false;
      music_.WavStart();
      return true;
    case Music::kCd:
      if (!music_.CdResume()) return false;
      Switch(kTimer2, true);
      return true;
    case Music::kNone:
      break;
  }
  return true;
}

void FullScreenRun::Timer3_Timer() {
  if (host_.RendererWindowExists()) {
    renderer_seen_ = true;
    return;
  }
  // Before its window first shows, a renderer still starting is given time.
  if (!renderer_seen_ && host_.RendererRunning() && ++ticks_waiting_ < kAppearTicks) return;
  Switch(kTimer3, false);
  Form_QueryUnload();
}

void FullScreenRun::Form_QueryUnload() {
  if (ended_) return;  // the platform may ask again while we end
  ended_ = true;
  StopReopening();
  // Music held closed has nothing left to stop.
  if (timer_on_[kTimer2]) {
    Switch(kTimer2, false);
    music_.CdClose();
  }
  if (!held_ && playing_ == Music::kWav) music_.WavStop();
  if (!held_ && playing_ == Music::kMp3) {
    Switch(kTimer1, false);
    music_.Mp3Close();
  }
  if (switch_letter_ == "S") host_.ShowCursor();
  host_.EndProgram();
}

void FullScreenRun::SessionEnds(bool ending) {
  if (ending) Form_QueryUnload();
}

}  // namespace tremblix
