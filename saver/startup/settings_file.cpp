#include "saver/startup/settings_file.h"

#include <cstring>
#include <optional>

#include "saver/common/numbers.h"

namespace tremblix {

namespace {

constexpr uint32_t kIniBufferSize = 256;
// Far above any value of ours: a whole 259-character path as %XX.
constexpr uint32_t kLargestIniBuffer = 65536;

// Bytes kept as they are in the whole-path key; every other byte is %XX.
bool KeptAsIs(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
         std::string_view("\\:._-~()[]").find(static_cast<char>(c)) != std::string_view::npos;
}

std::string Escaped(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    if (KeptAsIs(c)) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Nothing for a text that Escaped could not have written.
std::optional<std::string> Unescaped(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (KeptAsIs(c)) {
      out += static_cast<char>(c);
      continue;
    }
    if (c != '%' || i + 2 >= text.size() || HexDigit(text[i + 1]) < 0 ||
        HexDigit(text[i + 2]) < 0) {
      return std::nullopt;
    }
    out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
    i += 2;
  }
  return out;
}

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

// How a file spells the music keys, and the code page of their values.
struct Spelling {
  MusicKeys keys;
  unsigned code_page;
};

// What a save writes: the code page's own spelling.
Spelling OwnSpelling(ProfileApi& api) {
  const unsigned code_page = api.AnsiCodePage();
  if (code_page == kUtf8CodePage) return {kMusicKeysUtf8, kUtf8CodePage};
  return {kMusicKeys932, code_page};
}

// The other spelling: UTF-8, or where that is the code page's own, the keys
// in 932's bytes with values in the code page the system used before.
Spelling OtherSpelling(ProfileApi& api) {
  if (api.AnsiCodePage() != kUtf8CodePage) return {kMusicKeysUtf8, kUtf8CodePage};
  return {kMusicKeys932, LegacyAnsiCodePage(api.LanguageCodePage(), api.SystemLanguage())};
}

bool HoldsValues(ProfileApi& api, const MusicKeys& keys, const std::wstring& file) {
  for (const char* key : {keys.kind, keys.repeat, keys.file, keys.file_whole}) {
    if (!ReadIni(api, kIniSection, key, file).empty()) return true;
  }
  return false;
}

// The code page's own spelling wins where both are there: a save writes it.
Spelling SpellingOf(ProfileApi& api, const std::wstring& file) {
  const Spelling own = OwnSpelling(api);
  const Spelling other = OtherSpelling(api);
  return HoldsValues(api, own.keys, file) || !HoldsValues(api, other.keys, file) ? own : other;
}

// Only a value that the number keys' reading makes 0 (" 0", or "0" as the
// platform may leave it) keeps the scene to the primary monitor; a missing
// key, an empty value and any other text mean every monitor.
bool AllMonitorsFrom(std::string_view value) { return IntegerPart16(value) != int16_t{0}; }

}  // namespace

unsigned LegacyAnsiCodePage(unsigned answered, uint16_t language) {
  if (answered != 0 && answered != kUtf8CodePage) return answered;
  const unsigned primary = language & 0x3FF, sub = language >> 10;
  switch (primary) {
    case 0x04:  // Chinese: Taiwan, Hong Kong and Macau traditional, the rest simplified
      return sub == 0x01 || sub == 0x03 || sub == 0x05 ? 950 : 936;
    case 0x1A:  // Croatian, Serbian and Bosnian, in Latin or Cyrillic letters
      return sub == 0x03 || sub == 0x07 || sub == 0x08 || sub == 0x0A || sub == 0x0C ? 1251 : 1250;
    case 0x2C:  // Azerbaijani and Uzbek: Latin, or Cyrillic
    case 0x43:
      return sub == 0x02 ? 1251 : 1254;
    default:
      break;
  }
  // Primary language, code page.
  static constexpr unsigned kByLanguage[][2] = {
      {0x11, 932},  {0x12, 949},  {0x1E, 874},  {0x2A, 1258}, {0x05, 1250}, {0x0E, 1250},
      {0x15, 1250}, {0x18, 1250}, {0x1B, 1250}, {0x1C, 1250}, {0x24, 1250}, {0x42, 1250},
      {0x02, 1251}, {0x19, 1251}, {0x22, 1251}, {0x23, 1251}, {0x28, 1251}, {0x2F, 1251},
      {0x3F, 1251}, {0x40, 1251}, {0x44, 1251}, {0x50, 1251}, {0x6D, 1251}, {0x85, 1251},
      {0x08, 1253}, {0x1F, 1254}, {0x0D, 1255}, {0x01, 1256}, {0x20, 1256}, {0x29, 1256},
      {0x59, 1256}, {0x63, 1256}, {0x80, 1256}, {0x8C, 1256}, {0x92, 1256}, {0x25, 1257},
      {0x26, 1257}, {0x27, 1257}};
  for (const auto& [each, code_page] : kByLanguage) {
    if (each == primary) return code_page;
  }
  return 1252;
}

std::string ReadIni(ProfileApi& api, const std::string& section, const std::string& key,
                    const std::wstring& file) {
  std::string buffer;
  for (uint32_t size = kIniBufferSize;; size *= 2) {
    buffer.assign(size, '\0');
    api.ProfileRead(section, key, "", buffer.data(), size, file);
    buffer[size - 1] = '\0';  // whatever the call did, the text ends here
    buffer.resize(std::strlen(buffer.c_str()));
    // A value that fills the buffer may have been cut.
    if (buffer.size() + 1 < size || size >= kLargestIniBuffer) break;
  }
  // Cut at the largest buffer: never inside a two-byte character.
  const std::string_view last = LastCharacters(buffer, 1, api.LeadBytes());
  if (last.size() == 1 && api.LeadBytes()(static_cast<uint8_t>(last[0]))) buffer.pop_back();
  return buffer;
}

bool WriteIni(ProfileApi& api, const std::string& section, const std::string& key,
              const std::string& value, const std::wstring& file) {
  return api.ProfileWrite(section, key, value, file);
}

bool PathCanBeKept(std::string_view utf8_path) {
  // Four-byte sequences are two UTF-16 units; no byte of a longer one is a
  // quote, which would end the music command's quoted name.
  if (!IsUtf8(utf8_path) || utf8_path.find('\0') != std::string_view::npos) return false;
  size_t units = 0;
  for (unsigned char c : utf8_path) {
    if ((c & 0xC0) != 0x80) ++units;
    if (c >= 0xF0) ++units;
  }
  return units <= kLongestPath && utf8_path.find('"') == std::string_view::npos;
}

std::string WholePathValue(std::string_view ansi_beside, std::string_view utf8_path) {
  return Escaped(ansi_beside) + '|' + Escaped(utf8_path);
}

std::optional<std::string> WholePathBeside(std::string_view value, std::string_view ansi) {
  const size_t bar = value.find('|');
  if (bar == std::string_view::npos) return std::nullopt;
  std::optional<std::string> beside = Unescaped(value.substr(0, bar));
  std::optional<std::string> path = Unescaped(value.substr(bar + 1));
  if (!beside || !path || *beside != ansi || path->empty() || !PathCanBeKept(*path)) {
    return std::nullopt;
  }
  return path;
}

bool FileExists(ProfileApi& api, std::string path) {
  // UTF-8: no byte of a longer character is a backslash.
  if (!path.empty() && path.back() == '\\') path.pop_back();
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
                  SettingsRecord& settings, MusicFileLook look) {
  const Spelling spelling = SpellingOf(api, file);
  ReadNumber(api, spelling.keys.kind, file, settings.BgmKind);
  ReadNumber(api, spelling.keys.repeat, file, settings.BgmRepeat);

  // A music file that cannot be kept or opened is forgotten; only the file
  // kind falls back to no music, a CD choice stays.
  const std::string beside = ReadIni(api, kIniSection, spelling.keys.file, file);
  std::optional<std::string> whole =
      WholePathBeside(ReadIni(api, kIniSection, spelling.keys.file_whole, file), beside);
  settings.BgmFile = whole ? *whole : api.FromCodePage(beside, spelling.code_page);
  if (!settings.BgmFile.empty() &&
      (!PathCanBeKept(settings.BgmFile) ||
       (look == MusicFileLook::kByTheLoad && !FileExists(api, settings.BgmFile)))) {
    settings.BgmFile.clear();
  }
  if (settings.BgmFile.empty() && settings.BgmKind == kBgmFile) settings.BgmKind = kBgmNone;

  settings.BgmFolder = settings.BgmFile.empty() ? std::string(program_folder)
                                                : FolderOf(settings.BgmFile, &NoLeadBytes);
  settings.AllMonitors = AllMonitorsFrom(ReadIni(api, kIniSection, kKeyMonitors, file));
}

namespace {

// BGMﾌｧｲﾙ as older copies read it; where the code page cannot spell the
// path, its short name or nothing there, and the whole path beside it.
bool WriteMusicFile(ProfileApi& api, const Spelling& own, const std::string& path,
                    const std::wstring& file) {
  if (std::optional<std::string> spelt = api.ToCodePage(path, own.code_page)) {
    return WriteIni(api, kIniSection, own.keys.file, *spelt, file) &&
           api.ProfileDelete(kIniSection, own.keys.file_whole, file);
  }
  std::optional<std::string> short_spelt;
  if (std::optional<std::string> short_path = api.ShortPath(path)) {
    short_spelt = api.ToCodePage(*short_path, own.code_page);
  }
  const std::string beside = short_spelt.value_or("");
  return WriteIni(api, kIniSection, own.keys.file, beside, file) &&
         WriteIni(api, kIniSection, own.keys.file_whole, WholePathValue(beside, path), file);
}

}  // namespace

std::wstring SettingsTempFile(const std::wstring& ini_file) { return ini_file + L".new"; }

bool SaveSettings(ProfileApi& api, const std::wstring& file, const SettingsRecord& settings) {
  // What a load would forget is no saved choice.
  if (!settings.BgmFile.empty() && !PathCanBeKept(settings.BgmFile)) return false;
  const std::wstring temp = SettingsTempFile(file);
  api.Remove(temp);  // left by a save that was cut short
  const Spelling own = OwnSpelling(api);
  bool saved = true;
  if (api.FileThere(file)) {
    // Starting from the file as it is keeps whatever else a user put in it.
    // Our keys go first, in both spellings, so that nothing stale is read
    // later and the profile functions never write back what the code page
    // cannot spell; so does a UTF-8 mark, behind which those functions would
    // write a second section (and an earlier save may have).
    saved = api.CopyWhole(file, temp);
    const MusicKeys& other = OtherSpelling(api).keys;
    for (const char* key : {other.kind, other.repeat, other.file, other.file_whole, own.keys.kind,
                            own.keys.repeat, own.keys.file, own.keys.file_whole, kKeyMonitors}) {
      saved = saved && api.ProfileDelete(kIniSection, key, temp);
    }
  }
  saved = saved && WriteIni(api, kIniSection, own.keys.kind, NumberText(settings.BgmKind), temp);
  saved =
      saved && WriteIni(api, kIniSection, own.keys.repeat, NumberText(settings.BgmRepeat), temp);
  saved = saved && WriteMusicFile(api, own, settings.BgmFile, temp);
  const std::string monitors = NumberText(settings.AllMonitors ? 1 : 0);
  saved = saved && WriteIni(api, kIniSection, kKeyMonitors, monitors, temp);
  saved = saved && api.PutInPlace(temp, file);
  if (!saved) api.Remove(temp);
  return saved;
}

}  // namespace tremblix
