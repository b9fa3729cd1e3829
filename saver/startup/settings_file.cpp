#include "saver/startup/settings_file.h"

#include <optional>

#include "saver/common/numbers.h"

namespace tremblix {

namespace {

constexpr uint32_t kIniBufferSize = 256;

// An empty value reads as 0; a value that is no number or out of range leaves
// the field as it was.
void ReadNumber(ProfileApi& api, const char* key, const std::wstring& file, int16_t& field) {
  std::string value = ReadIni(api, kIniSection, key, file);
  if (value.empty()) {
    field = 0;
    return;
  }
  if (std::optional<int16_t> number = IntegerPart16(value)) field = *number;
}

}  // namespace

std::string ReadIni(ProfileApi& api, const std::string& section, const std::string& key,
                    const std::wstring& file) {
  char buffer[kIniBufferSize] = {};
  api.ProfileRead(section, key, "", buffer, kIniBufferSize, file);
  buffer[kIniBufferSize - 1] = '\0';  // whatever the call did, the text ends here
  return std::string(buffer);
}

bool WriteIni(ProfileApi& api, const std::string& section, const std::string& key,
              const std::string& value, const std::wstring& file) {
  return api.ProfileWrite(section, key, value, file);
}

bool FileExists(ProfileApi& api, std::string path) {
  if (LastCharacters(path, 1, api.LeadBytes()) == "\\") path.pop_back();
  if (path.empty()) return false;
  return api.CanOpenForReading(path);
}

std::string FolderOf(std::string_view path, LeadByteTest lead) {
  // The folder ends with the last colon or backslash, which is then the last
  // character taken: a backslash there is dropped.
  std::string folder(path.substr(0, EndOfLastCharacterOf(path, ":\\", lead)));
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder;
}

std::string ProgramFolder(std::string_view module_path, LeadByteTest lead) {
  const size_t end = EndOfLastCharacterOf(module_path, "\\", lead);
  if (end == 0) return std::string();
  std::string folder(module_path.substr(0, end - 1));
  if (LastCharacters(folder, 1, lead) == ":") folder += '\\';
  return folder;
}

void LoadSettings(ProfileApi& api, const std::wstring& file, std::string_view program_folder,
                  SettingsRecord& settings) {
  ReadNumber(api, kKeyBgmKind, file, settings.BgmKind);
  ReadNumber(api, kKeyBgmRepeat, file, settings.BgmRepeat);

  // A music file that cannot be opened is forgotten; only the file kind falls
  // back to no music, a CD choice stays.
  settings.BgmFile = ReadIni(api, kIniSection, kKeyBgmFile, file);
  if (!settings.BgmFile.empty() && !FileExists(api, settings.BgmFile)) settings.BgmFile.clear();
  if (settings.BgmFile.empty() && settings.BgmKind == kBgmFile) settings.BgmKind = kBgmNone;

  settings.BgmFolder = settings.BgmFile.empty() ? std::string(program_folder)
                                                : FolderOf(settings.BgmFile, api.LeadBytes());
}

std::wstring SettingsTempFile(const std::wstring& ini_file) { return ini_file + L".new"; }

bool SaveSettings(ProfileApi& api, const std::wstring& file, const SettingsRecord& settings) {
  const std::wstring temp = SettingsTempFile(file);
  api.Remove(temp);  // left by a save that was cut short
  // Starting from the file as it is keeps whatever else a user put in it.
  bool saved = !api.FileThere(file) || api.CopyWhole(file, temp);
  saved = saved && WriteIni(api, kIniSection, kKeyBgmKind, NumberText(settings.BgmKind), temp);
  saved = saved && WriteIni(api, kIniSection, kKeyBgmRepeat, NumberText(settings.BgmRepeat), temp);
  saved = saved && WriteIni(api, kIniSection, kKeyBgmFile, settings.BgmFile, temp);
  saved = saved && api.PutInPlace(temp, file);
  if (!saved) api.Remove(temp);
  return saved;
}

}  // namespace tremblix
