// Any replies of the CD drive and the MP3 device: the monitor gives up exactly
// when a query fails or the current track is no number, sends nothing it should
// not, and never reads outside a reply. Music closed and opened again plays
// from a place inside the song, or from its start, and a CD from a real track
// or where it stands.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "saver/common/numbers.h"
#include "saver/music/bgm.h"
#include "tests/native/fake_music_device.h"

using namespace tremblix;

namespace {

bool HasErr(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text.find("ERR") != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // One byte of failing queries, two of the repeat track, then the replies for
  // the current track, the track count, the mode and the track position,
  // separated by NUL bytes.
  if (size < 3) return 0;
  const uint8_t fails = data[0];
  SettingsRecord settings;
  settings.BgmRepeat = static_cast<int16_t>(data[1] | data[2] << 8);
  std::string rest(reinterpret_cast<const char*>(data + 3), size - 3);
  std::string replies[4];
  for (size_t i = 0, start = 0; i < 4 && start <= rest.size(); ++i) {
    size_t end = rest.find('\0', start);
    replies[i] = rest.substr(start, end == std::string::npos ? std::string::npos : end - start);
    start = end == std::string::npos ? rest.size() + 1 : end + 1;
  }

  const std::string position = "status cdaudio position track " +
                               std::to_string(settings.BgmRepeat);
  const std::string queries[4] = {"status cdaudio current track",
                                  "status cdaudio number of tracks", "status cdaudio mode",
                                  position};
  FakeMusicDevice device;
  for (int i = 0; i < 4; ++i) {
    device.Script(queries[i], (fails >> i) & 1 ? 263 + i : 0, replies[i]);
  }
  device.error_texts[264] = replies[3];  // an error text of any shape

  Tremblix_BGM bgm(device, settings);
  bgm.CdWatch();

  // The monitor's own reading of the replies, as the device cut them.
  std::string current = replies[0].substr(0, 511);
  bool current_failed = (fails & 1) || HasErr(current);
  bool tracks_failed = (fails & 2) || HasErr(replies[1].substr(0, 511));
  bool gives_up = current_failed || tracks_failed ||
                  (settings.BgmRepeat != 0 && !ParseNumber(current));
  if (bgm.CdOk == gives_up) std::abort();

  if (device.sent.empty() || device.sent.size() > 5) std::abort();
  if (device.sent.size() == 5 && device.sent[3] != position) std::abort();
  if (device.sent.size() >= 4 && device.sent.back().rfind("play cdaudio", 0) != 0) std::abort();
  if (bgm.QueryReply().size() > 511) std::abort();

  // The MP3 check reads its own short area the same way.
  device.Script("status MP3Play mode", (fails >> 4) & 1, replies[2]);
  bool playing = bgm.Mp3IsPlaying();
  if (playing != (!((fails >> 4) & 1) && replies[2].substr(0, 7) == "playing")) std::abort();

  // The place and the length read for a pause and a resume.
  device.Script("status MP3Play position", (fails >> 5) & 1, replies[0]);
  device.Script("status MP3Play length", (fails >> 6) & 1, replies[1]);
  bgm.Mp3Pause();
  if (!bgm.Mp3Resume()) std::abort();
  const std::string play = device.sent.back();
  const std::string from = play.substr(std::string("play MP3Play from ").size());
  if (play.rfind("play MP3Play from ", 0) != 0 || from.empty() ||
      from.find_first_not_of("0123456789") != std::string::npos) {
    std::abort();
  }
  std::optional<double> place = ParseNumber(replies[0].substr(0, 511));
  std::optional<double> length = ParseNumber(replies[1].substr(0, 511));
  bool inside = !((fails >> 5) & 1) && !((fails >> 6) & 1) && place && length && *place >= 0 &&
                *place < *length;
  if (!inside && from != "0") std::abort();

  device.Script("status cdaudio current track", (fails >> 7) & 1, replies[0]);
  bgm.CdPause();
  if (!bgm.CdResume()) std::abort();
  const std::string last = device.sent.back();
  const bool plays_a_track = last.rfind("play cdaudio from ", 0) == 0 &&
                             last.size() <= std::string("play cdaudio from 99").size();
  if (last != "set cdaudio time format tmsf" && !plays_a_track) std::abort();
  return 0;
}
