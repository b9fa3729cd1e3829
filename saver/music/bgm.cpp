#include "saver/music/bgm.h"

#include <cmath>
#include <cstring>
#include <optional>

#include "saver/common/numbers.h"

namespace tremblix {

namespace {

// The text of an area up to its first NUL, never past its end.
template <size_t N>
std::string TextOf(const char (&area)[N]) {
  return std::string(area, strnlen(area, N));
}

// A failed query reads "Error:<code>"; no successful reply of ours holds "ERR".
bool IsFailure(std::string result) {
  for (char& c : result) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return result.find("ERR") != std::string::npos;
}

}  // namespace

int32_t Tremblix_BGM::MciSend(const std::string& command, std::string& reply) {
  if (command.empty()) {
    reply = kNoCommandText;
    return -1;
  }
  // A fresh area for every call: a command that answers nothing must not hand
  // back the answer of an earlier one.
  char area[512] = {};
  int32_t status = static_cast<int32_t>(device_.SendCommand(command, area, sizeof area));
  if (status != 0) {
    char text[256] = {};
    reply = device_.ErrorText(static_cast<uint32_t>(status), text, sizeof text) ? TextOf(text)
                                                                               : kNoErrorText;
    return status;
  }
  reply = TextOf(area);
  return 0;
}

std::string Tremblix_BGM::MciQuery(const std::string& command) {
  int32_t status = MciSend(command, query_reply_);
  if (status != 0) return "Error:" + std::to_string(status);
  return query_reply_;
}

int32_t Tremblix_BGM::MciPlay(const std::string& device, const std::string& start,
                              const std::string& end) {
  std::string command = "play " + device;
  if (!start.empty()) command += " from " + start;
  if (!end.empty()) command += " to " + end;
  return MciSend(command, query_reply_);
}

void Tremblix_BGM::SendOnly(const std::string& command) {
  device_.SendCommand(command, nullptr, 0);
}

std::optional<double> Tremblix_BGM::QueryNumber(const std::string& command) {
  std::string reply;
  if (MciSend(command, reply) != 0) return std::nullopt;
  return ParseNumber(reply);
}

bool Tremblix_BGM::Mp3Open() {
  // A quote in the path would close the quoted name early and let the rest of
  // it be read as command words. No such file can exist; stay silent.
  if (settings_.BgmFile.find('"') != std::string::npos) return false;
  if (device_.SendCommand("open \"" + settings_.BgmFile + "\" type MPEGVideo Alias MP3Play",
                          nullptr, 0) != 0) {
    return false;
  }
  // Places are read and played in milliseconds, whatever the device's default.
  SendOnly("set MP3Play time format milliseconds");
  return true;
}

bool Tremblix_BGM::Mp3Start() {
  if (!Mp3Open()) return false;
  SendOnly("play MP3Play");
  return true;
}

bool Tremblix_BGM::Mp3IsPlaying() {
  char mode[30] = {};
  return device_.SendCommand("status MP3Play mode", mode, sizeof mode) == 0 &&
         std::strncmp(mode, "playing", 7) == 0;
}

void Tremblix_BGM::Mp3Repeat() {
  if (Mp3IsPlaying()) return;
  SendOnly("stop MP3Play");
  SendOnly("play MP3Play from 0");
}

void Tremblix_BGM::Mp3Close() {
  SendOnly("stop MP3Play");
  SendOnly("close MP3Play");
}

void Tremblix_BGM::Mp3Pause() {
  // A place that cannot be read keeps the one from before.
  if (std::optional<double> place = QueryNumber("status MP3Play position")) {
    mp3_place_ms_ = place;
  }
  Mp3Close();
}

bool Tremblix_BGM::Mp3Resume() {
  if (!Mp3Open()) return false;
  // A place is only played from when it lies inside the file: at or past its
  // end, when the length cannot be read, or past any song's length (a
  // device's nonsense), the song starts again.
  constexpr double kLongestSongMs = 1e12;
  double from = 0;
  std::optional<double> length = QueryNumber("status MP3Play length");
  if (mp3_place_ms_ && length && *mp3_place_ms_ >= 0 && *mp3_place_ms_ < *length &&
      *mp3_place_ms_ < kLongestSongMs) {
    from = std::floor(*mp3_place_ms_);
  }
  SendOnly("play MP3Play from " + std::to_string(static_cast<long long>(from)));
  return true;
}

void Tremblix_BGM::WavStart() {
  if (device_.WaveOutDeviceCount() == 0) return;
  // Without "no default" a file that cannot be played would loop the system's
  // default sound for the whole run. Named a file, the path is never looked
  // up as one of the system's sound names first.
  device_.Sound(settings_.BgmFile.c_str(), kSndAsync | kSndNoDefault | kSndLoop | kSndFileName);
}

void Tremblix_BGM::WavStop() { device_.Sound(nullptr, 0); }

void Tremblix_BGM::CdOpened(bool opened) {
  // Only a drive that opened may still be spinning up: without one, or
  // without its driver, the first failing look gives the CD up.
  cd_spin_up_looks_ = opened ? kCdSpinUpLooks : 0;
}

void Tremblix_BGM::CdOpen() {
  CdOpened(device_.SendCommand("open cdaudio", nullptr, 0) == 0);
  SendOnly("set cdaudio time format tmsf");
}

void Tremblix_BGM::CdWatch() {
  CdOk = true;
  const bool spinning_up = cd_spin_up_looks_ > 0;
  if (spinning_up) --cd_spin_up_looks_;
  if (!CdWatchStep(spinning_up) && !spinning_up) CdOk = false;
}

// One look at the drive; false on a failure, which gives the drive up once
// it has had its time to spin up.
bool Tremblix_BGM::CdWatchStep(bool spinning_up) {
  std::string current = MciQuery("status cdaudio current track");
  if (IsFailure(current)) return false;
  // Only asked so that a drive without a disc fails here too.
  if (IsFailure(MciQuery("status cdaudio number of tracks"))) return false;

  char mode[256] = {};
  device_.SendCommand("status cdaudio mode", mode, 255);
  bool stopped = std::strncmp(mode, "stopped", 7) == 0;

  int16_t track = settings_.BgmRepeat;
  if (track == 0) {
    if (stopped) CdPlayOn(spinning_up);
    return true;
  }
  std::optional<double> current_track = ParseNumber(current);
  if (!current_track) return false;
  if (stopped || *current_track != track) {
    // Plays on past the track; a later look brings it back.
    std::string start = MciQuery("status cdaudio position track " + std::to_string(track));
    MciPlay("cdaudio", start, "");
  }
  return true;
}

void Tremblix_BGM::CdPlayOn(bool spinning_up) {
  if (cd_track_owed_) {
    const bool played =
        MciPlay("cdaudio", std::to_string(static_cast<long long>(*cd_track_)), "") == 0;
    // A track the drive still refuses once it has had its time (another,
    // shorter disc) is dropped: the disc plays where it stands.
    if (played || !spinning_up) cd_track_owed_ = false;
    if (played || spinning_up) return;
  }
  MciPlay("cdaudio", "", "");
}

void Tremblix_BGM::CdClose() {
  SendOnly("stop cdaudio");
  SendOnly("close cdaudio");
}

void Tremblix_BGM::CdPause() {
  // An audio CD has tracks 1 to 99; any other answer is no track.
  std::optional<double> track = QueryNumber("status cdaudio current track");
  if (track && *track >= 1 && *track <= 99 && *track == std::floor(*track)) cd_track_ = track;
  CdClose();
}

bool Tremblix_BGM::CdResume() {
  if (device_.SendCommand("open cdaudio", nullptr, 0) != 0) return false;
  CdOpened(true);
  SendOnly("set cdaudio time format tmsf");
  // In tracks, minutes, seconds and frames a bare number is the track's start.
  // Refused while the disc spins up, it is owed: the watch plays it once the
  // drive is ready, not the disc from where it stands. Without one the watch
  // starts the disc where it stands.
  cd_track_owed_ =
      cd_track_ && MciPlay("cdaudio", std::to_string(static_cast<long long>(*cd_track_)), "") != 0;
  return true;
}

}  // namespace tremblix
