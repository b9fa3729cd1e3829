// The settings file: an INI file read and written through the platform's
// private-profile functions. Where it lives is decided in saver/common/places.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "saver/common/ansi_text.h"
#include "saver/common/wide_text.h"
#include "saver/music/settings.h"

namespace tremblix {

// kUtf8CodePage (wide_text.h) is the code page of a system that uses UTF-8
// for its ANSI text (Windows 10 and 11 offer it); this is our users' own.
inline constexpr unsigned kJapaneseCodePage = 932;

// The private-profile and file calls the settings code needs; the program
// passes the real ones, tests pass their own.
class ProfileApi {
 public:
  virtual ~ProfileApi() = default;
  // The value as the file's own bytes spell it, found as
  // GetPrivateProfileString finds it but whatever the code page would make
  // of the bytes: names and values are bytes. At most size - 1 bytes and a
  // NUL are copied. The file's path is wide: it may hold a user's name that
  // the ANSI code page cannot spell.
  virtual uint32_t ProfileRead(const std::string& section, const std::string& key,
                               const std::string& fallback, char* buffer, uint32_t size,
                               const std::wstring& file) = 0;
  // As WritePrivateProfileStringA: names and value are bytes of the ANSI
  // code page. False, and nothing written, where the code page cannot carry
  // them unchanged.
  virtual bool ProfileWrite(const std::string& section, const std::string& key,
                            const std::string& value, const std::wstring& file) = 0;
  // Takes every line of the key out of the section, whatever its bytes spell
  // in the code page, and a UTF-8 mark off the file's start (IniWithoutKey).
  virtual bool ProfileDelete(const std::string& section, const std::string& key,
                             const std::wstring& file) = 0;
  // Opens the file (its path in UTF-8) for sequential reading and closes it
  // again. False only when it is known not to open: one whose open does not
  // answer within about a second (a share that has gone) counts as there.
  virtual bool CanOpenForReading(const std::string& path) = 0;
  // The system's ANSI code page, and the one its locale gives for its
  // language (LOCALE_IDEFAULTANSICODEPAGE), 0 where not told; under the
  // UTF-8 option that too may answer 65001.
  virtual unsigned AnsiCodePage() = 0;
  virtual unsigned LanguageCodePage() = 0;
  // The system locale's language (a LANGID: primary language in the low ten
  // bits, the sublanguage above).
  virtual uint16_t SystemLanguage() = 0;
  // Names are kept in UTF-8, which spells any of them; the file's values are
  // in a code page. ToCodePage gives the text only when the code page spells
  // it exactly (no look-alikes), so that it reads back the same.
  virtual std::optional<std::string> ToCodePage(const std::string& utf8, unsigned code_page) = 0;
  virtual std::string FromCodePage(const std::string& bytes, unsigned code_page) = 0;
  // The short (8.3) form of an existing file's path, in UTF-8; most volumes
  // have none.
  virtual std::optional<std::string> ShortPath(const std::string& utf8) = 0;
  // Whole files, for a save that puts a complete new settings file in place.
  virtual bool FileThere(const std::wstring& path) = 0;
  virtual bool CopyWhole(const std::wstring& from, const std::wstring& to) = 0;
  // Puts from in the place of to, which it replaces whole or not at all.
  virtual bool PutInPlace(const std::wstring& from, const std::wstring& to) = 0;
  virtual void Remove(const std::wstring& path) = 0;
  // The ANSI code page's test: paths are read by its characters.
  virtual LeadByteTest LeadBytes() = 0;
};

// The code page a system used for its ANSI text before it took UTF-8: the
// locale's answer where that is no UTF-8, else the one Windows gives the
// language's locales; 1252 for a language without its own.
unsigned LegacyAnsiCodePage(unsigned answered, uint16_t language);

// Section and key names, as the bytes the file holds. Where the ANSI code
// page is UTF-8 the keys are spelt in UTF-8 and so are their values, as the
// platform's profile functions write them there; under any other code page
// the keys are code page 932's bytes and the values are in the code page.
// Both spellings are read under either, each value in its keys' spelling.
inline constexpr char kIniSection[] = "Section";
inline constexpr char kKeyBgmKind[] = "BGM\x8B\xE6\x95\xAA";         // BGM区分
inline constexpr char kKeyBgmRepeat[] = "BGM\xD8\xCB\xDF\xB0\xC4";   // BGMﾘﾋﾟｰﾄ
inline constexpr char kKeyBgmFile[] = "BGM\xCC\xA7\xB2\xD9";         // BGMﾌｧｲﾙ
// The whole music path where the code page cannot spell it, beside the text
// BGMﾌｧｲﾙ holds then (the short name, or nothing): older copies read only
// BGMﾌｧｲﾙ, and one that saves another song there makes this key stale.
inline constexpr char kKeyBgmFileWhole[] = "BGM\xCC\xA7\xB2\xD9(UTF-8)";  // BGMﾌｧｲﾙ(UTF-8)

struct MusicKeys {
  const char* kind;
  const char* repeat;
  const char* file;
  const char* file_whole;
};
inline constexpr MusicKeys kMusicKeys932 = {kKeyBgmKind, kKeyBgmRepeat, kKeyBgmFile,
                                            kKeyBgmFileWhole};
inline constexpr MusicKeys kMusicKeysUtf8 = {
    "BGM\xE5\x8C\xBA\xE5\x88\x86",                                  // BGM区分
    "BGM\xEF\xBE\x98\xEF\xBE\x8B\xEF\xBE\x9F\xEF\xBD\xB0\xEF\xBE\x84",  // BGMﾘﾋﾟｰﾄ
    "BGM\xEF\xBE\x8C\xEF\xBD\xA7\xEF\xBD\xB2\xEF\xBE\x99",              // BGMﾌｧｲﾙ
    "BGM\xEF\xBE\x8C\xEF\xBD\xA7\xEF\xBD\xB2\xEF\xBE\x99(UTF-8)",       // BGMﾌｧｲﾙ(UTF-8)
};

// " 0": the scene on the primary monitor alone; any other value, or none,
// every monitor. Read as the numbers above are ("0" and blanks around it
// too); older copies do not read it.
inline constexpr char kKeyMonitors[] = "Monitors";

// The longest path, in UTF-16 units, that the file chooser, the music
// commands and the sound player take.
inline constexpr size_t kLongestPath = 259;
// Well-formed UTF-8 of at most kLongestPath units, with no NUL and no quote.
bool PathCanBeKept(std::string_view utf8_path);

// The whole-path key's value, ASCII alone (the file is read and written in
// the ANSI code page): the text beside it and the UTF-8 path, each with every
// byte outside letters, digits and a few marks written as %XX, joined by |.
std::string WholePathValue(std::string_view ansi_beside, std::string_view utf8_path);
// The path the value holds while BGMﾌｧｲﾙ still holds the text it was written
// beside; nothing otherwise, or for a value that is no such pair or holds no
// path that can be kept.
std::optional<std::string> WholePathBeside(std::string_view value, std::string_view ansi);

// The whole value, however long: a read that fills its buffer is made again
// with a larger one, and nothing is cut inside a two-byte character.
std::string ReadIni(ProfileApi& api, const std::string& section, const std::string& key,
                    const std::wstring& file);
bool WriteIni(ProfileApi& api, const std::string& section, const std::string& key,
              const std::string& value, const std::wstring& file);
// Drops one trailing backslash, then tries to open the file (UTF-8).
bool FileExists(ProfileApi& api, std::string path);

// The folder part of a path: C:\Music\a.mp3 -> C:\Music, C:\a.mp3 -> C:.
std::string FolderOf(std::string_view path, LeadByteTest lead);

// The program's folder as the platform names it: no trailing backslash, except
// at the root of a drive ("C:\").
std::string ProgramFolder(std::string_view module_path, LeadByteTest lead);

// Who looks whether the music file is there: the load, or the full-screen
// run once it has taken its photograph, which the look (up to a second on a
// share that has gone) must not hold up.
enum class MusicFileLook { kByTheLoad, kByTheRun };

// Fills the record from the settings file ini_file, read in the code page's
// own spelling unless only the other one holds values (a file written
// before the system's code page changed); without a music file the chooser
// starts in the program's folder (UTF-8, as every name we keep).
void LoadSettings(ProfileApi& api, const std::wstring& ini_file, std::string_view program_folder,
                  SettingsRecord& settings, MusicFileLook look = MusicFileLook::kByTheLoad);

// The file a save is written into before it takes the settings file's place.
std::wstring SettingsTempFile(const std::wstring& ini_file);

// Writes the three music keys in their order, then Monitors, into a copy of
// the settings file, in the code page's own spelling, every line of them in
// either spelling taken out first; then puts the copy in its place: every
// value is saved once or none. The repeat value is the one already converted from the
// dialog.
// Returns whether it saved; a save that failed leaves the file as it was and
// no copy behind. A music path that cannot be kept is never saved.
bool SaveSettings(ProfileApi& api, const std::wstring& ini_file, const SettingsRecord& settings);

}  // namespace tremblix
