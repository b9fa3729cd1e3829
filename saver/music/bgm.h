// The music module Tremblix_BGM: MCI command strings for the MP3 file and the
// audio CD, and the platform's sound player for WAV files. Every failure is
// silent; the run goes on without music.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "saver/music/settings.h"

namespace tremblix {

// The multimedia calls the module needs; the program passes the winmm ones,
// tests pass a scripted device.
class MusicDevice {
 public:
  virtual ~MusicDevice() = default;
  // An MCI command string with no callback window, in UTF-8 like its reply;
  // reply is null when length is 0.
  virtual uint32_t SendCommand(const std::string& command, char* reply, uint32_t length) = 0;
  // The MCI error text, in UTF-8.
  virtual bool ErrorText(uint32_t error, char* text, uint32_t length) = 0;
  // The sound player with no module handle (the name in UTF-8); a null sound
  // stops the one playing.
  virtual bool Sound(const char* sound, uint32_t flags) = 0;
  // waveOutGetNumDevs.
  virtual uint32_t WaveOutDeviceCount() = 0;
};

// PlaySoundA flags.
inline constexpr uint32_t kSndAsync = 0x0001;
inline constexpr uint32_t kSndNoDefault = 0x0002;
inline constexpr uint32_t kSndLoop = 0x0008;
inline constexpr uint32_t kSndFileName = 0x00020000;

// Fixed replies, in UTF-8 like every text the module keeps.
inline constexpr char kNoCommandText[] = "コマンド文字列が指定されていません";
inline constexpr char kNoErrorText[] = "Error (文字列が取れません)";

class Tremblix_BGM {
 public:
  explicit Tremblix_BGM(MusicDevice& device, const SettingsRecord& settings = Settings)
      : device_(device), settings_(settings) {}

  // Sends one command; the reply is the device's answer or, on failure, its
  // error text. Returns the MCI status, or -1 for an empty command.
  int32_t MciSend(const std::string& command, std::string& reply);
  // The reply, or "Error:" and the status when the command failed.
  std::string MciQuery(const std::string& command);
  // "play device [from start] [to end]"; empty positions are left out.
  int32_t MciPlay(const std::string& device, const std::string& start, const std::string& end);
  // What the last MciQuery or MciPlay command answered (or its error text).
  const std::string& QueryReply() const { return query_reply_; }

  // BgmFile as an MP3 under the alias MP3Play, restarted once it has ended.
  // Mp3Start is false when the file could not be opened.
  bool Mp3Start();
  bool Mp3IsPlaying();
  void Mp3Repeat();
  void Mp3Close();
  // Closes the device, so that no audio stream stays open, keeping the place;
  // Mp3Resume opens it again and plays on from there (from the start when the
  // place is at or past the end). False when the file cannot be opened yet.
  void Mp3Pause();
  bool Mp3Resume();

  // BgmFile as a looping WAV. It cannot seek: it starts again from its start.
  void WavStart();
  void WavStop();

  // The audio CD, kept playing (or held on track BgmRepeat) by CdWatch.
  void CdOpen();
  void CdWatch();
  void CdClose();
  // Closes the drive, keeping the track it was on; CdResume opens it again
  // and plays from that track. False when the drive does not open yet.
  void CdPause();
  bool CdResume();

  // A drive that has been idle answers an open at once but its status and
  // play only once the disc spins and its contents have been read: a second
  // or two for most drives, up to about ten for a slow or USB one. For this
  // long after an open that succeeded, a failing look or play means "not
  // ready yet" and is tried again at the next look; only a drive still
  // failing after it is given up. Its cost is that long of failing looks
  // before a drive without a disc is given up.
  static constexpr int kCdSpinUpLooks = 75;  // of CdWatch, every 200 ms: 15 s

  // Cleared by a CdWatch call that met a failure; the run then stops watching.
  bool CdOk = false;

 private:
  bool CdWatchStep(bool spinning_up);
  void CdOpened(bool opened);
  // The whole disc stopped: plays on from the kept track while it is owed.
  void CdPlayOn(bool spinning_up);
  void SendOnly(const std::string& command);
  bool Mp3Open();
  // A number the device answered, or nothing.
  std::optional<double> QueryNumber(const std::string& command);

  MusicDevice& device_;
  const SettingsRecord& settings_;
  std::string query_reply_;
  std::optional<double> mp3_place_ms_;  // where a paused MP3 was
  std::optional<double> cd_track_;      // the track a paused CD was on
  bool cd_track_owed_ = false;          // its play has not yet succeeded
  int cd_spin_up_looks_ = 0;            // looks left in which a failure is no verdict
};

}  // namespace tremblix
