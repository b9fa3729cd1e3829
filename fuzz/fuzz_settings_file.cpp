// Any contents of the settings file: loading always gives a consistent record,
// and what is saved from it loads back the same.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "saver/run/full_screen_run.h"
#include "saver/startup/settings_file.h"
#include "tests/native/fake_profile.h"

using namespace tremblix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The input holds the three values, separated by NUL bytes; the first byte
  // chooses whether the named music file opens, and the code page.
  if (size == 0) return 0;
  const bool file_opens = data[0] & 1;
  const LeadByteTest lead = data[0] & 2 ? &Cp932LeadByte : &NoLeadBytes;
  std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
  std::string values[3];
  for (int i = 0, start = 0; i < 3; ++i) {
    size_t end = rest.find('\0', start);
    values[i] = rest.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (end == std::string::npos) break;
    start = static_cast<int>(end) + 1;
  }

  const std::string folder = "C:\\Saver";
  const std::wstring ini = L"C:\\Saver\\Tremblix.ini";
  FakeProfile profile;
  profile.lead = lead;
  profile.Set(ini, kKeyBgmKind, values[0]);
  profile.Set(ini, kKeyBgmRepeat, values[1]);
  profile.Set(ini, kKeyBgmFile, values[2]);
  std::string tested = values[2].substr(0, 255);
  if (LastCharacters(tested, 1, lead) == "\\") tested.pop_back();
  if (file_opens && !tested.empty()) profile.files.insert(tested);

  SettingsRecord settings;
  LoadSettings(profile, ini, folder, settings);
  if (settings.BgmFile.size() > 255) std::abort();
  if (settings.BgmKind == kBgmFile && settings.BgmFile.empty()) std::abort();
  if (settings.BgmFile.empty() && settings.BgmFolder != folder) std::abort();
  // The folder is the file's path cut between two characters, before a colon
  // or a backslash.
  const std::string& file = settings.BgmFile;
  const std::string& cut = settings.BgmFolder;
  if (!file.empty() && !cut.empty()) {
    if (file.compare(0, cut.size(), cut) != 0) std::abort();
    size_t at = 0;
    while (at < cut.size()) at += lead(file[at]) && at + 1 < file.size() ? 2 : 1;
    if (at != cut.size()) std::abort();
    const char after = cut.size() < file.size() ? file[cut.size()] : '\\';
    if (after != '\\' && cut.back() != ':') std::abort();
  }

  // What the run makes of the name: a type, whatever the bytes.
  const MusicFileType type = MusicFileTypeOf(settings.BgmFile, lead);
  if (type != MusicFileType::kOther && LastCharacters(file, 3, lead).size() != 3) std::abort();

  SaveSettings(profile, ini, settings);
  SettingsRecord again;
  LoadSettings(profile, ini, folder, again);
  if (again.BgmKind != settings.BgmKind || again.BgmRepeat != settings.BgmRepeat ||
      again.BgmFile != settings.BgmFile || again.BgmFolder != settings.BgmFolder)
    std::abort();
  return 0;
}
