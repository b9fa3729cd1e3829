// Any contents of the settings file: loading always gives a consistent record
// in UTF-8, and what is saved from it loads back the same, whole, whatever the
// code page can spell, in either spelling of the keys; the choice of monitors
// comes back as it was. The input is also a file's own bytes (ini_bytes).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "saver/run/full_screen_run.h"
#include "saver/startup/ini_bytes.h"
#include "saver/startup/settings_file.h"
#include "tests/native/fake_profile.h"

using namespace tremblix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The input holds the five values (kind, repeat, file, whole file,
  // monitors), separated by NUL bytes; the first byte chooses whether the
  // named music file opens (1), the code page (2: 932, else 1252; 8: UTF-8
  // after that one), whether files have short names (4), and whether the
  // values stand under the keys' UTF-8 spelling (16).
  if (size == 0) return 0;
  const bool file_opens = data[0] & 1;
  const unsigned language = data[0] & 2 ? kJapaneseCodePage : 1252;
  const bool short_names = data[0] & 4;
  const MusicKeys& keys = data[0] & 16 ? kMusicKeysUtf8 : kMusicKeys932;
  std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
  std::string values[5];
  for (int i = 0, start = 0; i < 5; ++i) {
    size_t end = rest.find('\0', start);
    values[i] = rest.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (end == std::string::npos) break;
    start = static_cast<int>(end) + 1;
  }

  const std::string folder = "C:\\Saver";
  const std::wstring ini = L"C:\\Saver\\Tremblix.ini";
  FakeProfile profile;
  profile.code_page = data[0] & 8 ? kUtf8CodePage : language;
  profile.language_code_page = language;
  profile.every_file_opens = file_opens;
  profile.Set(ini, keys.kind, values[0]);
  profile.Set(ini, keys.repeat, values[1]);
  profile.Set(ini, keys.file, values[2]);
  profile.Set(ini, keys.file_whole, values[3]);
  // No fifth value: no Monitors key at all.
  if (!values[4].empty()) profile.Set(ini, kKeyMonitors, values[4]);

  SettingsRecord settings;
  LoadSettings(profile, ini, folder, settings);
  if (settings.BgmKind == kBgmFile && settings.BgmFile.empty()) std::abort();
  if (settings.BgmFile.empty() && settings.BgmFolder != folder) std::abort();
  // Every monitor unless the value is a zero; " 0" and "0" are the primary alone.
  if (values[4].empty() && !settings.AllMonitors) std::abort();
  if ((values[4] == " 0" || values[4] == "0") && settings.AllMonitors) std::abort();
  // The folder is the file's path cut before a colon or a backslash.
  const std::string& file = settings.BgmFile;
  const std::string& cut = settings.BgmFolder;
  if (!file.empty() && !cut.empty()) {
    if (file.compare(0, cut.size(), cut) != 0) std::abort();
    const char after = cut.size() < file.size() ? file[cut.size()] : '\\';
    if (after != '\\' && cut.back() != ':') std::abort();
  }

  // What the run makes of the name: a type, whatever the bytes.
  const MusicFileType type = MusicFileTypeOf(settings.BgmFile, &NoLeadBytes);
  if (type != MusicFileType::kOther && file.size() < 3) std::abort();

  if (short_names && !file.empty()) profile.short_paths[file] = "C:\\SHORT~1.MP3";
  if (!SaveSettings(profile, ini, settings)) std::abort();
  // Monitors is saved as the number text of the choice, nothing else.
  if (profile.ValuesOf(ini)["section\nmonitors"] != (settings.AllMonitors ? " 1" : " 0"))
    std::abort();
  // Only the code page's own spelling is left.
  const MusicKeys& other = profile.code_page == kUtf8CodePage ? kMusicKeys932 : kMusicKeysUtf8;
  for (const char* key : {other.kind, other.repeat, other.file, other.file_whole}) {
    if (!ReadIni(profile, kIniSection, key, ini).empty()) std::abort();
  }
  // The whole-path key holds nothing the ANSI file could not carry.
  for (const auto& [key, value] : profile.ValuesOf(ini)) {
    if (key.find("(utf-8)") == std::string::npos) continue;
    for (unsigned char c : value) {
      if (c < 0x20 || c >= 0x80) std::abort();
    }
  }
  SettingsRecord again;
  LoadSettings(profile, ini, folder, again);
  if (again.BgmKind != settings.BgmKind || again.BgmRepeat != settings.BgmRepeat ||
      again.BgmFile != settings.BgmFile || again.BgmFolder != settings.BgmFolder ||
      again.AllMonitors != settings.AllMonitors)
    std::abort();

  // The input as a file's own bytes: a key taken out is gone, for good, and
  // so is a UTF-8 mark; nothing else changes.
  const std::string kept = IniWithoutKey(rest, kIniSection, keys.kind);
  if (IniValue(kept, kIniSection, keys.kind) || kept.rfind("\xEF\xBB\xBF", 0) == 0 ||
      IniWithoutKey(kept, kIniSection, keys.kind) != kept ||
      IniValue(kept, kIniSection, kKeyMonitors) != IniValue(rest, kIniSection, kKeyMonitors)) {
    std::abort();
  }
  return 0;
}
