#include "saver/startup/settings_file.h"

#include <algorithm>
#include <array>
#include <codecvt>
#include <locale>

#include <gtest/gtest.h>

#include "saver/startup/ini_bytes.h"
#include "tests/native/fake_profile.h"

#include <cctype>
#include <cstring>
#include <map>
#include <vector>

namespace tremblix {
namespace {

constexpr char kFolder[] = "C:\\Saver";
constexpr wchar_t kIni[] = L"C:\\Saver\\Tremblix.ini";

class LoadSettingsTest : public ::testing::Test {
 protected:
  SettingsRecord Load() {
    SettingsRecord settings;
    LoadSettings(profile, kIni, kFolder, settings);
    return settings;
  }
  int16_t KindFrom(const std::string& value) {
    profile.Set(kIni, kKeyBgmKind, value);
    return Load().BgmKind;
  }
  FakeProfile profile;
};

TEST_F(LoadSettingsTest, NoFileGivesNoMusicAndTheProgramFolder) {
  SettingsRecord settings = Load();
  EXPECT_EQ(settings.BgmKind, 0);
  EXPECT_EQ(settings.BgmRepeat, 0);
  EXPECT_EQ(settings.BgmFile, "");
  EXPECT_EQ(settings.BgmFolder, kFolder);
}

TEST_F(LoadSettingsTest, KindValues) {
  EXPECT_EQ(KindFrom(" 2"), 0);  // kind 2 with no file falls back to no music
  EXPECT_EQ(KindFrom("1"), 1);
  EXPECT_EQ(KindFrom(" 1 "), 1);
  EXPECT_EQ(KindFrom("1.9"), 1);
  EXPECT_EQ(KindFrom("-1.5"), -2);
  EXPECT_EQ(KindFrom("abc"), 0);
  EXPECT_EQ(KindFrom("99999"), 0);
  EXPECT_EQ(KindFrom(""), 0);
  EXPECT_EQ(KindFrom("5"), 5);
}

// Loaded over a record that says either: the key decides, not what was there.
TEST_F(LoadSettingsTest, MonitorsIsThePrimaryAloneOnlyForZero) {
  auto all_monitors = [this](const char* value) {
    if (value) profile.Set(kIni, kKeyMonitors, value);
    SettingsRecord loaded[2];
    loaded[0].AllMonitors = false;
    LoadSettings(profile, kIni, kFolder, loaded[0]);
    LoadSettings(profile, kIni, kFolder, loaded[1]);
    EXPECT_EQ(loaded[0].AllMonitors, loaded[1].AllMonitors) << (value ? value : "no key");
    return loaded[0].AllMonitors;
  };
  EXPECT_TRUE(all_monitors(nullptr)) << "no key";
  for (const char* primary : {" 0", "0", " 0 ", "\t0"}) {
    EXPECT_FALSE(all_monitors(primary)) << "'" << primary << "'";
  }
  for (const char* every : {" 1", "1", "", "abc", "0x", "2", "-1", "99999"}) {
    EXPECT_TRUE(all_monitors(every)) << "'" << every << "'";
  }
}

TEST_F(LoadSettingsTest, KindTwoWithAFileThatOpens) {
  profile.files.insert("C:\\Music\\a b.mp3");
  profile.Set(kIni, kKeyBgmFile, "C:\\Music\\a b.mp3");
  EXPECT_EQ(KindFrom("2"), 2);
  EXPECT_EQ(KindFrom(" 2 "), 2);
  EXPECT_EQ(KindFrom("2.7"), 2);
  EXPECT_EQ(Load().BgmFile, "C:\\Music\\a b.mp3");
  EXPECT_EQ(Load().BgmFolder, "C:\\Music");
}

TEST_F(LoadSettingsTest, AMusicFileThatIsGoneIsForgottenAndKindTwoFallsBack) {
  profile.Set(kIni, kKeyBgmKind, " 2");
  profile.Set(kIni, kKeyBgmFile, "C:\\Music\\gone.mp3");
  SettingsRecord settings = Load();
  EXPECT_EQ(settings.BgmKind, 0);
  EXPECT_EQ(settings.BgmFile, "");
  EXPECT_EQ(settings.BgmFolder, kFolder);
  // Unless the run is to look for it, after its photograph.
  LoadSettings(profile, kIni, kFolder, settings, MusicFileLook::kByTheRun);
  EXPECT_TRUE(settings.BgmKind == 2 && settings.BgmFile == "C:\\Music\\gone.mp3" && profile.opened.size() == 1);
}

TEST_F(LoadSettingsTest, TheCdChoiceSurvivesAMissingFile) {
  profile.Set(kIni, kKeyBgmKind, " 1");
  profile.Set(kIni, kKeyBgmRepeat, " 3");
  profile.Set(kIni, kKeyBgmFile, "C:\\Music\\gone.mp3");
  SettingsRecord settings = Load();
  EXPECT_EQ(settings.BgmKind, 1);
  EXPECT_EQ(settings.BgmRepeat, 3);
  EXPECT_EQ(settings.BgmFile, "");
}

TEST_F(LoadSettingsTest, AFileNameWithATrailingBackslashIsTestedWithoutItButKept) {
  profile.files.insert("C:\\Music\\a.mp3");
  profile.Set(kIni, kKeyBgmKind, " 2");
  profile.Set(kIni, kKeyBgmFile, "C:\\Music\\a.mp3\\");
  SettingsRecord settings = Load();
  EXPECT_EQ(profile.opened.back(), "C:\\Music\\a.mp3");
  EXPECT_EQ(settings.BgmFile, "C:\\Music\\a.mp3\\");
  EXPECT_EQ(settings.BgmKind, 2);
}

TEST_F(LoadSettingsTest, AMusicFileAtADriveRootHasTheDriveAsItsFolder) {
  profile.files.insert("D:\\a.wav");
  profile.Set(kIni, kKeyBgmFile, "D:\\a.wav");
  EXPECT_EQ(Load().BgmFolder, "D:");
}

// Longer than the music commands take (a long path read whole: WholeNameTest).
TEST_F(LoadSettingsTest, APathTooLongToKeepIsForgotten) {
  std::string path = "C:\\" + std::string(300, 'x');
  profile.files.insert(path);
  profile.Set(kIni, kKeyBgmFile, path);
  EXPECT_EQ(Load().BgmFile, "");
}

TEST(ReadIni, AsksWithAnEmptyDefaultThenALargerBufferWhileTheValueFillsIt) {
  struct Recorder : FakeProfile {
    uint32_t ProfileRead(const std::string& section, const std::string& key,
                         const std::string& fallback, char* buffer, uint32_t size,
                         const std::wstring& file) override {
      seen_fallback = fallback;
      sizes.push_back(size);
      // A misbehaving call that fills the whole buffer still ends within it.
      std::memset(buffer, 'z', size);
      (void)section, (void)key, (void)file;
      return size;
    }
    std::string seen_fallback = "unset";
    std::vector<uint32_t> sizes;
  } recorder;
  EXPECT_EQ(ReadIni(recorder, "Section", "k", L"f"), std::string(65535, 'z'));
  EXPECT_EQ(recorder.seen_fallback, "");
  EXPECT_EQ(recorder.sizes.front(), 256u);
  EXPECT_EQ(recorder.sizes.back(), 65536u);

  // Values the first read cuts at its 255 bytes, and the second at 511.
  FakeProfile profile;
  for (size_t length : {256, 512}) {
    profile.Set(L"f", "k", std::string(length, 'v'));
    EXPECT_EQ(ReadIni(profile, "Section", "k", L"f").size(), length);
  }
}

TEST(ReadIni, NeverCutsInsideATwoByteCharacter) {
  // A value past the largest buffer, whose cut falls after a lead byte.
  FakeProfile profile;
  profile.Set(L"f", "k", "ab" + std::string(70000, '\x89'));
  const std::string value = ReadIni(profile, "Section", "k", L"f");
  EXPECT_EQ(value.size(), 65534u) << "cut inside a character";
}

TEST(SaveSettings, WritesTheMusicKeysThenMonitorsInOrderWithTheirByteNames) {
  FakeProfile profile;
  SettingsRecord settings;
  settings.BgmKind = 2;
  settings.BgmRepeat = -3;
  settings.BgmFile = "C:\\Music\\a b.mp3";
  settings.AllMonitors = false;
  const std::wstring ini = L"C:\\Users\\山田\\AppData\\Roaming\\Tremblix\\Tremblix.ini";
  EXPECT_TRUE(SaveSettings(profile, ini, settings));
  // Into the copy that then takes the file's place.
  const std::wstring temp = SettingsTempFile(ini);
  std::vector<FakeProfile::Write> expected = {
      {"Section", "BGM\x8B\xE6\x95\xAA", " 2", temp},
      {"Section", "BGM\xD8\xCB\xDF\xB0\xC4", "-3", temp},
      {"Section", "BGM\xCC\xA7\xB2\xD9", "C:\\Music\\a b.mp3", temp},
      {"Section", "Monitors", " 0", temp},
  };
  EXPECT_EQ(profile.writes, expected);
  EXPECT_EQ(profile.ValuesOf(ini).size(), 4u);
  EXPECT_FALSE(profile.FileThere(temp)) << "the copy is the file now";
}

TEST(SaveSettings, SavesEveryValueOrNoneAndSaysWhich) {
  SettingsRecord settings;
  settings.BgmKind = 1;
  settings.BgmRepeat = 7;
  settings.BgmFile = "D:\\b.wav";
  settings.AllMonitors = true;
  const std::wstring temp = SettingsTempFile(kIni);
  auto earlier = [] {
    FakeProfile profile;
    profile.Set(kIni, kKeyBgmKind, " 2");
    profile.Set(kIni, kKeyBgmRepeat, " 3");
    profile.Set(kIni, kKeyBgmFile, "C:\\a.mp3");
    profile.Set(kIni, kKeyMonitors, " 0");
    profile.Set(kIni, "Other", "kept", "Mine");
    return profile;
  };
  const std::map<std::string, std::string> before = earlier().ValuesOf(kIni);
  for (int writes = 0; writes < 4; ++writes) {
    FakeProfile profile = earlier();
    profile.writes_left = writes;  // the disk fills after this many keys
    EXPECT_FALSE(SaveSettings(profile, kIni, settings)) << writes;
    EXPECT_EQ(profile.ValuesOf(kIni), before) << writes << " keys written: the file is as it was";
    EXPECT_FALSE(profile.FileThere(temp)) << writes << " keys written: no copy is left";
  }
  FakeProfile refused = earlier();
  refused.can_put_in_place = false;
  EXPECT_FALSE(SaveSettings(refused, kIni, settings));
  EXPECT_EQ(refused.ValuesOf(kIni), before);
  EXPECT_FALSE(refused.FileThere(temp));
  SettingsRecord unkept = settings;
  unkept.BgmFile = "C:\\\xE9.wav";  // no UTF-8
  FakeProfile unkept_profile = earlier();
  EXPECT_FALSE(SaveSettings(unkept_profile, kIni, unkept));
  EXPECT_EQ(unkept_profile.ValuesOf(kIni), before);

  // A save that succeeds keeps what else the file holds.
  FakeProfile profile = earlier();
  profile.Set(temp, kKeyBgmKind, "from a save cut short");
  EXPECT_TRUE(SaveSettings(profile, kIni, settings));
  std::map<std::string, std::string> after = profile.ValuesOf(kIni);
  EXPECT_EQ(after.size(), 5u);
  EXPECT_EQ(after["section\nbgm\x8b\xe6\x95\xaa"], " 1");
  EXPECT_EQ(after["section\nmonitors"], " 1");
  EXPECT_EQ(after["mine\nother"], "kept");
  EXPECT_FALSE(profile.FileThere(temp));
}

TEST(SaveSettings, WhatIsSavedLoadsBack) {
  FakeProfile profile;
  profile.files.insert("E:\\x.wav");
  SettingsRecord saved;
  saved.BgmKind = 2;
  saved.BgmRepeat = 30;
  saved.BgmFile = "E:\\x.wav";
  for (bool all_monitors : {false, true}) {
    saved.AllMonitors = all_monitors;
    SaveSettings(profile, kIni, saved);
    SettingsRecord loaded;
    LoadSettings(profile, kIni, kFolder, loaded);
    EXPECT_EQ(loaded.BgmKind, 2);
    EXPECT_EQ(loaded.BgmRepeat, 30);
    EXPECT_EQ(loaded.BgmFile, "E:\\x.wav");
    EXPECT_EQ(loaded.BgmFolder, "E:");
    EXPECT_EQ(loaded.AllMonitors, all_monitors);
  }
}

TEST(FileExists, DropsOneTrailingBackslashAndRefusesAnEmptyPath) {
  FakeProfile profile;
  profile.files.insert("C:\\a.mp3");
  profile.files.insert("C:\\b\\");
  EXPECT_TRUE(FileExists(profile, "C:\\a.mp3"));
  EXPECT_TRUE(FileExists(profile, "C:\\a.mp3\\"));
  EXPECT_FALSE(FileExists(profile, "C:\\a.mp3\\\\"));
  EXPECT_FALSE(FileExists(profile, "C:\\b\\"));
  EXPECT_FALSE(FileExists(profile, ""));
  EXPECT_FALSE(FileExists(profile, "\\"));
}

TEST(FolderOf, CutsAtTheLastColonOrBackslash) {
  for (LeadByteTest lead : {&NoLeadBytes, &Cp932LeadByte}) {
    EXPECT_EQ(FolderOf("C:\\Music\\a.mp3", lead), "C:\\Music");
    EXPECT_EQ(FolderOf("C:\\a.mp3", lead), "C:");
    EXPECT_EQ(FolderOf("C:a.mp3", lead), "C:");
    EXPECT_EQ(FolderOf("a.mp3", lead), "");
    EXPECT_EQ(FolderOf("", lead), "");
    EXPECT_EQ(FolderOf("\\\\server\\share\\a.mp3", lead), "\\\\server\\share");
    EXPECT_EQ(FolderOf("C:\\Music\\", lead), "C:\\Music");
  }
}

TEST(ProgramFolder, KeepsTheBackslashOnlyAtADriveRoot) {
  EXPECT_EQ(ProgramFolder("C:\\Windows\\System32\\Tremblix.scr", &NoLeadBytes),
            "C:\\Windows\\System32");
  EXPECT_EQ(ProgramFolder("C:\\Tremblix.scr", &NoLeadBytes), "C:\\");
}

// Code page 932: the second byte of these characters is the backslash byte.
constexpr char kSo[] = "\x83\x5C";     // ソ
constexpr char kHyou[] = "\x95\x5C";   // 表
constexpr char kNou[] = "\x94\x5C";    // 能
constexpr char kOngaku[] = "\x89\xB9\x8A\x79";  // 音楽

TEST(PathsInCodePage932, AreCutOnlyBetweenCharacters) {
  const std::string music = std::string("C:\\") + kOngaku;
  const std::string song = music + "\\" + kSo + "\x83\x93\x83\x4F.mp3";  // ソング.mp3
  EXPECT_EQ(FolderOf(song, &Cp932LeadByte), music);

  // A folder name ending in such a character.
  const std::string folder = std::string("C:\\") + kHyou;
  EXPECT_EQ(FolderOf(folder + "\\a.mp3", &Cp932LeadByte), folder);
  // A file name ending in one, no folder after it.
  EXPECT_EQ(FolderOf(std::string("C:\\m\\") + kNou, &Cp932LeadByte), "C:\\m");
  EXPECT_EQ(FolderOf(std::string("C:") + kNou, &Cp932LeadByte), "C:");
  EXPECT_EQ(FolderOf(kNou, &Cp932LeadByte), "");
  // Read by bytes, the same paths are cut inside the character.
  EXPECT_EQ(FolderOf(std::string("C:\\m\\") + kNou, &NoLeadBytes), "C:\\m\\\x94");

  // The program itself in such a folder, or named with such a character.
  EXPECT_EQ(ProgramFolder(std::string("C:\\") + kSo + "\\Tremblix.scr", &Cp932LeadByte),
            std::string("C:\\") + kSo);
  EXPECT_EQ(ProgramFolder(std::string("C:\\x\\") + kHyou + ".scr", &Cp932LeadByte), "C:\\x");
}

TEST(PathsInUtf8, KeepACharacterEndingInTheBackslashByteOfCodePage932) {
  FakeProfile profile;
  profile.files.insert("C:\\表");
  profile.files.insert("C:\\ソ");
  EXPECT_TRUE(FileExists(profile, "C:\\表"));
  EXPECT_TRUE(FileExists(profile, "C:\\表\\"));    // a real backslash after it goes
  EXPECT_FALSE(FileExists(profile, "C:\\表\\\\"));  // one only
  EXPECT_TRUE(FileExists(profile, "C:\\ソ\\"));
}

TEST(PathsInCodePage932, LoadSettingsFindsTheFolderOfAJapaneseSong) {
  FakeProfile profile;
  const std::string music = std::string("C:\\") + kOngaku;
  const std::string song = music + "\\" + kSo + "\x83\x93\x83\x4F.mp3";
  profile.Set(kIni, kKeyBgmKind, " 2");
  profile.Set(kIni, kKeyBgmFile, song);
  profile.files.insert("C:\\音楽\\ソング.mp3");
  SettingsRecord loaded;
  LoadSettings(profile, kIni, kFolder, loaded);
  EXPECT_EQ(loaded.BgmKind, 2);
  EXPECT_EQ(loaded.BgmFile, "C:\\音楽\\ソング.mp3") << "kept in UTF-8";
  EXPECT_EQ(loaded.BgmFolder, "C:\\音楽");
}

// --- Names the code page cannot spell ----------------------------------------

class WholeNameTest : public ::testing::Test {
 protected:
  SettingsRecord SaveAndLoad(const std::string& path) {
    SettingsRecord saved;
    saved.BgmKind = kBgmFile;
    saved.BgmFile = path;
    EXPECT_TRUE(SaveSettings(profile, kIni, saved));
    return Load();
  }
  SettingsRecord Load() {
    SettingsRecord loaded;
    LoadSettings(profile, kIni, kFolder, loaded);
    return loaded;
  }
  std::map<std::string, std::string> Values() { return profile.ValuesOf(kIni); }
  static std::string Lower(std::string key) {
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return "section\n" + key;
  }
  FakeProfile profile;  // code page 932, and no short names (an exFAT stick)
};

TEST_F(WholeNameTest, ASpeltPathChangesNothingElse) {
  const std::string song = "C:\\音楽\\ソング～.mp3";
  profile.files.insert(song);
  profile.Set(kIni, kKeyBgmFileWhole, WholePathValue("", "C:\\old.mp3"));  // stale
  EXPECT_EQ(SaveAndLoad(song).BgmFile, song);
  EXPECT_EQ(Values()[Lower(kKeyBgmFile)], "C:\\\x89\xB9\x8A\x79\\\x83\x5C\x83\x93\x83\x4F\x81\x60.mp3");
  EXPECT_EQ(Values().count(Lower(kKeyBgmFileWhole)), 0u);
  EXPECT_EQ(Values().size(), 4u);
}

TEST_F(WholeNameTest, AWaveDashAndAnAccentGoToTheWholeKeyAndReadBackWhole) {
  const std::string song = "E:\\Música\\〜 café 〜.mp3";
  profile.files.insert(song);
  const SettingsRecord loaded = SaveAndLoad(song);
  EXPECT_EQ(loaded.BgmFile, song);
  EXPECT_EQ(loaded.BgmKind, kBgmFile);
  EXPECT_EQ(loaded.BgmFolder, "E:\\Música");
  EXPECT_EQ(Values()[Lower(kKeyBgmFile)], "") << "no short name to give older copies";
  const std::string whole = Values()[Lower(kKeyBgmFileWhole)];
  for (unsigned char c : whole) EXPECT_LT(c, 0x80) << whole;
}

TEST_F(WholeNameTest, AShortNameIsGivenToOlderCopiesWhereThereIsOne) {
  const std::string song = "C:\\m\\é.mp3";
  profile.files.insert(song);
  profile.short_paths[song] = "C:\\m\\E~1.MP3";
  EXPECT_EQ(SaveAndLoad(song).BgmFile, song);
  EXPECT_EQ(Values()[Lower(kKeyBgmFile)], "C:\\m\\E~1.MP3");
}

TEST_F(WholeNameTest, AnOlderCopysLaterSaveWins) {
  const std::string song = "E:\\〜.mp3";
  profile.files.insert(song);
  profile.files.insert("C:\\other.wav");
  SaveAndLoad(song);
  // An older copy reads and writes BGMﾌｧｲﾙ alone.
  profile.Set(kIni, kKeyBgmFile, "C:\\other.wav");
  EXPECT_EQ(Load().BgmFile, "C:\\other.wav");
}

TEST_F(WholeNameTest, ALongJapanesePathReadsBackWholeFromEitherKey) {
  std::string spelt = "C:\\", unspelt = "C:\\";
  for (int i = 0; i < 126; ++i) spelt += "音楽", unspelt += "音〜";
  spelt += ".mp3", unspelt += ".mp3";  // 259 characters each
  ASSERT_TRUE(PathCanBeKept(spelt));
  profile.files.insert(spelt);
  profile.files.insert(unspelt);
  EXPECT_EQ(SaveAndLoad(spelt).BgmFile, spelt);
  EXPECT_EQ(SaveAndLoad(unspelt).BgmFile, unspelt);
}

TEST(WholePathValue, ReadsBackOnlyBesideItsTextAndOnlyWhenWellMade) {
  const std::string value = WholePathValue("C:\\E~1.MP3", "C:\\50% | é.mp3");
  EXPECT_EQ(WholePathBeside(value, "C:\\E~1.MP3"), "C:\\50% | é.mp3");
  EXPECT_EQ(WholePathBeside(value, "C:\\other.mp3"), std::nullopt);
  // No path the program keeps: a NUL, a quote, no UTF-8, too long.
  const std::vector<std::string> bad_values = {
      "",     "|",          "x",           "%4|C:",      "|C:%4", "|C:%GG", "a|b|c", "|C:\xE9",
      "|%00", "|C:%00.mp3", "|C:%22a.mp3", "|C:%E9.mp3", "|C:" + std::string(258, 'a')};
  for (const std::string& bad : bad_values) {
    EXPECT_EQ(WholePathBeside(bad, ""), std::nullopt) << bad;
  }
}

TEST(PathCanBeKept, UpTo259Utf16UnitsAndNoQuote) {
  EXPECT_TRUE(PathCanBeKept("C:\\" + std::string(256, 'a')));
  EXPECT_FALSE(PathCanBeKept("C:\\" + std::string(257, 'a')));
  std::string japanese = "C:\\";
  for (int i = 0; i < 256; ++i) japanese += "音";
  EXPECT_TRUE(PathCanBeKept(japanese));
  EXPECT_FALSE(PathCanBeKept(japanese + "🎵"));  // two units
  EXPECT_FALSE(PathCanBeKept("C:\\a\"b.mp3"));
  EXPECT_FALSE(PathCanBeKept(std::string("C:\\a\0b.mp3", 10)));
  EXPECT_TRUE(PathCanBeKept("C:\\é音🎵.mp3"));
  // No UTF-8: a byte alone, overlong forms, a surrogate, past U+10FFFF, cut.
  for (const char* bad : {"\x80", "\xC0\xAF", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                          "\xE9.mp3", "\xF0\x9F\x8E"})
    EXPECT_FALSE(PathCanBeKept(std::string("C:\\") + bad)) << bad;
}

// Saved under one code page (then, given a song, by an older copy in 932's spelling), read and
// saved again under another: the choice comes back whole, only the reading code page's spelling left.
TEST(CodePages, AFileIsReadInEitherSpellingAndSavedInTheCodePagesOwn) {
  const std::string ja = "C:\\音楽\\ソング.mp3", eu = "E:\\Música\\€.mp3", any = "E:\\〜 é ¥.mp3";
  struct Case { unsigned written, read, language; std::string song, older; uint16_t system = 0x0411; };
  const std::vector<Case> cases = {
      {932, 932, 932, ja, ""}, {1252, 1252, 1252, eu, ""}, {65001, 65001, 932, any, ""},
      // The system switched to UTF-8, and back; no language told: our users' 932.
      {932, 65001, 932, ja, ""}, {932, 65001, 932, any, ""}, {1252, 65001, 1252, eu, ""},
      {65001, 932, 932, ja, ""}, {65001, 932, 932, any, ""}, {65001, 1252, 1252, ja, ""},
      {932, 65001, 65001, ja, ""}, {1252, 65001, 65001, eu, "", 0x0409},  // the locale answers UTF-8 too
      // Both spellings: the code page's own wins.
      {65001, 65001, 932, ja, "C:\\b.wav"}, {65001, 932, 932, ja, "C:\\b.wav"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.written) + " to " + std::to_string(c.read) + c.older);
    FakeProfile profile;
    profile.every_file_opens = true, profile.code_page = c.written, profile.language_code_page = c.language, profile.system_language = c.system;
    ASSERT_TRUE(SaveSettings(profile, kIni, {kBgmFile, 7, c.song, "", false}));
    if (!c.older.empty()) {
      profile.Set(kIni, kKeyBgmKind, " 2");
      profile.Set(kIni, kKeyBgmFile, c.older);
    }
    const bool older_read = !c.older.empty() && c.read != 65001;
    profile.code_page = c.read;
    for (int save = 0; save < 2; ++save) {
      SettingsRecord loaded;
      LoadSettings(profile, kIni, kFolder, loaded);
      EXPECT_EQ(loaded.BgmFile, older_read ? c.older : c.song);
      EXPECT_TRUE(loaded.BgmKind == kBgmFile && loaded.BgmRepeat == (older_read ? 0 : 7));
      ASSERT_TRUE(SaveSettings(profile, kIni, loaded));
    }
    const MusicKeys& gone = c.read == 65001 ? kMusicKeys932 : kMusicKeysUtf8;
    for (const char* key : {gone.kind, gone.repeat, gone.file, gone.file_whole}) EXPECT_EQ(ReadIni(profile, kIniSection, key, kIni), "");
  }
}

// Conversions as Windows documents them for UTF-8: no flag of WideCharToMultiByte nor its used-default
// report, of MultiByteToWideChar's only MB_ERR_INVALID_CHARS. Other code pages are Latin-1 here.
class DocumentedConversions : public CodePageCalls {
 public:
  explicit DocumentedConversions(unsigned ansi) : ansi_(ansi) {}
  unsigned AnsiCodePage() override { return ansi_; }
  int ToWide(unsigned page, uint32_t flags, const char* text, int length, wchar_t* wide, int size) override {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    if (Utf8(page) && (flags & ~kErrorOnInvalidChars)) return 0;
    try {
      return Out(Utf8(page) ? utf_.from_bytes(text, text + length) : std::u16string(bytes, bytes + length), wide, size);
    } catch (const std::range_error&) { return 0; }
  }
  int ToNarrow(unsigned page, uint32_t flags, const wchar_t* text, int length, char* narrow, int size,
               bool* used_default) override {
    if (Utf8(page) && (flags || used_default)) return 0;
    std::string bytes;
    try {
      if (Utf8(page)) bytes = utf_.to_bytes(std::u16string(text, text + length));
    } catch (const std::range_error&) { return 0; }
    for (int i = 0; !Utf8(page) && i < length; ++i) bytes += text[i] > 0xFF ? '?' : static_cast<char>(text[i]);
    if (used_default) *used_default = bytes.find('?') != std::string::npos;
    return Out(bytes, narrow, size);
  }

 private:
  bool Utf8(unsigned page) const { return (page == kAnsiCodePage ? ansi_ : page) == kUtf8CodePage; }
  template <typename Text, typename Unit> static int Out(const Text& text, Unit* out, int size) {
    if (size > 0 && size < static_cast<int>(text.size())) return 0;
    if (size > 0) std::copy(text.begin(), text.end(), out);
    return static_cast<int>(text.size());
  }
  unsigned ansi_;
  std::wstring_convert<std::codecvt_utf8_utf16<char16_t>, char16_t> utf_;
};

// The flags follow the code page the system's resolves to: under UTF-8 a save converts without any.
TEST(CodePageFlags, UnderUtf8ASavesConversionsTakeNone) {
  DocumentedConversions utf8(kUtf8CodePage), latin(1252);
  const std::string song = "E:\\〜 é.mp3";
  const std::wstring wide = L"E:\\〜 é.mp3";
  for (unsigned page : {kAnsiCodePage, kUtf8CodePage}) {
    EXPECT_EQ(NarrowExactly(utf8, wide, page), song);
    EXPECT_EQ(WideExactly(utf8, song, page), wide);
    EXPECT_EQ(Narrow(utf8, Wide(utf8, song, page), page), song);
  }
  EXPECT_EQ(NarrowExactly(latin, wide, kAnsiCodePage), std::nullopt);
  EXPECT_EQ(Narrow(latin, L"é", kAnsiCodePage), "\xE9");
  FakeProfile profile;
  profile.code_page = kUtf8CodePage, profile.every_file_opens = true, profile.conversions = &utf8;
  EXPECT_TRUE(SaveSettings(profile, kIni, {kBgmFile, 3, song, "", true}));
}

TEST(LegacyAnsiCodePage, TheLocalesAnswerUnlessUtf8ElseTheLanguages) {
  const std::vector<std::array<unsigned, 3>> rows = {  // answered, language, code page
      {1250, 0x0409, 1250}, {65001, 0x0411, 932}, {0, 0x0404, 950}, {65001, 0x0804, 936}, {65001, 0x0419, 1251},
      {65001, 0x0C1A, 1251}, {65001, 0x081A, 1250}, {65001, 0x042C, 1254}, {65001, 0x0439, 1252}};
  for (const auto& [answered, language, code_page] : rows) EXPECT_EQ(LegacyAnsiCodePage(answered, static_cast<uint16_t>(language)), code_page) << std::hex << language;
}

// The file's own bytes, read and changed as the profile functions read them.
TEST(IniBytes, FindAndTakeOutAKey) {
  const std::vector<std::pair<std::string, std::optional<std::string>>> reads = {
      {"[Section]\r\nk= 2 \r\n", "2"}, {"\xEF\xBB\xBF [section] \nK = a b", "a b"},
      {"[Section]\nk=\"q\"\nk=2", "q"}, {"[Section]\nk='q\"", "'q\""}, {"[Section]\nk", ""},
      {"[Other]\n[Section]x\nk=v=w\n", "v=w"}, {"[Section]\nkk=1\n[Other]\nk=1\n", std::nullopt},
      {"k=1\n[Section]", std::nullopt}};
  for (const auto& [bytes, value] : reads) EXPECT_EQ(IniValue(bytes, "Section", "k"), value);
  // An editor's UTF-8 mark goes too: the profile functions would write a second section behind it.
  const std::vector<std::pair<std::string, std::string>> takes = {
      {"[Section]\r\nk=1\r\nm=2\r\n[Other]\r\nk=3\r\n[section]\r\nK = 4", "[Section]\r\nm=2\r\n[Other]\r\nk=3\r\n[section]\r\n"},
      {"\xEF\xBB\xBF[Section]\nk=1\n[Section]\nk=2\n", "[Section]\n[Section]\n"}, {"\xEF\xBB\xBF\xEF\xBB\xBF[Other]\nm", "[Other]\nm"}};
  for (const auto& [bytes, kept] : takes) EXPECT_EQ(IniWithoutKey(bytes, "Section", "k"), kept);
}

}  // namespace
}  // namespace tremblix
