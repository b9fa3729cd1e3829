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
  } else if (settings_.BgmKind == kBgmFile) {
    if (file_type_ == MusicFileType::kWav) music_.WavStart();
    if (file_type_ == MusicFileType::kMp3) {
      music_.Mp3Start();
      Switch(kTimer1, true);
    }
  }
}

void FullScreenRun::Timer1_Timer() { music_.Mp3Repeat(); }

void FullScreenRun::Timer2_Timer() {
  music_.CdWatch();
  Switch(kTimer2, music_.CdOk);
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
  if (timer_on_[kTimer2]) {
    Switch(kTimer2, false);
    music_.CdClose();
  }
  if (settings_.BgmKind == kBgmFile) {
    if (file_type_ == MusicFileType::kWav) music_.WavStop();
    if (file_type_ == MusicFileType::kMp3) {
      Switch(kTimer1, false);
      music_.Mp3Close();
    }
  }
  if (switch_letter_ == "S") host_.ShowCursor();
  host_.EndProgram();
}

void FullScreenRun::SessionEnds(bool ending) {
  if (ending) Form_QueryUnload();
}

}  // namespace tremblix
