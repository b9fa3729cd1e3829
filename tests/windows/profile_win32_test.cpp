// The settings file against the platform's own profile and file functions.
#include "saver/startup/profile_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include <fstream>
#include <iterator>
#include <string>

#include "saver/common/wide_text_win32.h"

namespace tremblix {
namespace {

// The settings file in folder, as the 32-bit edition names it beside itself.
std::wstring IniPath(const std::string& folder) { return Wide(folder + "\\Tremblix.ini", CP_ACP); }

class ProfileTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { SetFilePresenceBound(std::chrono::minutes(1)); }
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "tremblix-profile-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr) ||
                GetLastError() == ERROR_ALREADY_EXISTS);
  }
  void TearDown() override {
    DeleteFileW(IniPath(folder_).c_str());
    DeleteFileA((folder_ + "\\music.mp3").c_str());
    RemoveDirectoryA(folder_.c_str());
  }
  std::string FileBytes() {
    std::ifstream in(folder_ + "\\Tremblix.ini", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string MakeFile(const std::string& name) {
    std::string path = folder_ + "\\" + name;
    std::ofstream(path) << "x";
    return path;
  }
  Win32Profile profile_;
  std::string folder_;
};

TEST_F(ProfileTest, ASaveWritesTheKeysAsCodePage932Bytes) {
  // What a save under UTF-8 left goes, and so does an editor's UTF-8 mark.
  std::ofstream(folder_ + "\\Tremblix.ini", std::ios::binary)
      << "\xEF\xBB\xBF[Section]\r\n" << kMusicKeysUtf8.kind << "= 1\r\n" << kMusicKeysUtf8.file << "=C:\\x\r\n";
  SettingsRecord settings;
  settings.BgmKind = 2;
  settings.BgmRepeat = -3;
  settings.BgmFile = "C:\\My Music\\a b.mp3";
  SaveSettings(profile_, IniPath(folder_), settings);

  // Windows keeps the blank of " 2" after the equals sign; Wine drops it.
  // Either way the key bytes are the code-page-932 ones and the order is
  // kept, the newer key after the three that older copies read.
  std::string bytes = FileBytes();
  std::string with_blank =
      "[Section]\r\nBGM\x8B\xE6\x95\xAA= 2\r\nBGM\xD8\xCB\xDF\xB0\xC4=-3\r\n"
      "BGM\xCC\xA7\xB2\xD9=C:\\My Music\\a b.mp3\r\nMonitors= 1\r\n";
  std::string without_blank =
      "[Section]\r\nBGM\x8B\xE6\x95\xAA=2\r\nBGM\xD8\xCB\xDF\xB0\xC4=-3\r\n"
      "BGM\xCC\xA7\xB2\xD9=C:\\My Music\\a b.mp3\r\nMonitors=1\r\n";
  EXPECT_TRUE(bytes == with_blank || bytes == without_blank) << "file holds: " << bytes;
}

TEST_F(ProfileTest, WhatIsSavedLoadsBack) {
  SettingsRecord saved;
  saved.BgmKind = 2;
  saved.BgmRepeat = 12;
  saved.BgmFile = MakeFile("music.mp3");
  SaveSettings(profile_, IniPath(folder_), saved);

  SettingsRecord loaded;
  LoadSettings(profile_, IniPath(folder_), folder_, loaded);
  EXPECT_EQ(loaded.BgmKind, 2);
  EXPECT_EQ(loaded.BgmRepeat, 12);
  EXPECT_EQ(loaded.BgmFile, saved.BgmFile);
  EXPECT_EQ(loaded.BgmFolder, folder_);
}

TEST_F(ProfileTest, KindTwoWithAFileThatIsGoneLoadsAsNoMusic) {
  SettingsRecord saved;
  saved.BgmKind = 2;
  saved.BgmFile = MakeFile("music.mp3");
  SaveSettings(profile_, IniPath(folder_), saved);
  DeleteFileA(saved.BgmFile.c_str());

  SettingsRecord loaded;
  LoadSettings(profile_, IniPath(folder_), folder_, loaded);
  EXPECT_EQ(loaded.BgmKind, 0);
  EXPECT_EQ(loaded.BgmFile, "");
  EXPECT_EQ(loaded.BgmFolder, folder_);
}

// In a file written under UTF-8, and in one an editor saved as UTF-16 (with a
// whole path that is gone, whose key the save takes out).
TEST_F(ProfileTest, KindOneWithNoFileStaysOne) {
  const std::string utf8 = std::string("[Section]\r\n") + kMusicKeysUtf8.kind + "= 1\r\n" + kMusicKeysUtf8.repeat + "= 4";
  const std::wstring wide = Wide("[Section]\r\n" + std::string(kKeyBgmKind) + "= 1\r\n" + kKeyBgmRepeat + "= 4\r\n" +
                                 kKeyBgmFileWhole + "=|C:%5Cx", CP_ACP);
  const std::string utf16 = "\xFF\xFE" + std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
  for (const std::string& bytes : {utf8, utf16}) {
    std::ofstream(folder_ + "\\Tremblix.ini", std::ios::binary) << bytes;
    SettingsRecord loaded;
    for (int save = 0; save < 2; ++save) {
      LoadSettings(profile_, IniPath(folder_), folder_, loaded);
      EXPECT_TRUE(loaded.BgmKind == 1 && loaded.BgmRepeat == 4 && loaded.BgmFile.empty()) << loaded.BgmFile;
      ASSERT_TRUE(SaveSettings(profile_, IniPath(folder_), loaded));
    }
    EXPECT_EQ(ReadIni(profile_, kIniSection, kKeyBgmFileWhole, IniPath(folder_)), "");
  }
}

TEST_F(ProfileTest, LongValuesReadBackWholeAndMissingKeysAreEmpty) {
  const std::wstring ini = IniPath(folder_);
  std::string long_value(400, 'v');
  WriteIni(profile_, kIniSection, kKeyBgmFile, long_value, ini);
  EXPECT_EQ(ReadIni(profile_, kIniSection, kKeyBgmFile, ini), long_value);
  EXPECT_EQ(ReadIni(profile_, kIniSection, kKeyBgmKind, ini), "");
  EXPECT_EQ(ReadIni(profile_, "Other", kKeyBgmFile, ini), "");
  EXPECT_EQ(ReadIni(profile_, kIniSection, kKeyBgmFile, Wide(folder_ + "\\none.ini", CP_ACP)), "");
}

TEST_F(ProfileTest, FileExistsOpensOnlyFiles) {
  std::string file = MakeFile("music.mp3");
  EXPECT_TRUE(FileExists(profile_, file));
  EXPECT_TRUE(FileExists(profile_, file + "\\"));
  EXPECT_FALSE(FileExists(profile_, folder_));
  EXPECT_FALSE(FileExists(profile_, folder_ + "\\"));
  EXPECT_FALSE(FileExists(profile_, folder_ + "\\missing.mp3"));
  EXPECT_FALSE(FileExists(profile_, ""));
}

// A folder and a song named with characters whose second byte is the
// backslash byte under code page 932 (表 95 5C, ソ 83 5C); under 1252 they
// are spelt with its own letters. The file keeps the code page's bytes, the
// program the path in UTF-8.
TEST_F(ProfileTest, APathOfTheCodePageKeepsItsBytesInTheFile) {
  const bool japanese = GetACP() == 932;
  const std::wstring folder_name = japanese ? L"\u8868" : L"M\u00fasica";     // 表, Música
  const std::wstring song_name = japanese ? L"\u30bd" : L"Canci\u00f3n";      // ソ, Canción
  const std::wstring folder = Wide(folder_, CP_ACP) + L"\\" + folder_name;
  const std::wstring song = folder + L"\\" + song_name;
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  HANDLE file = CreateFileW(song.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  const std::string utf8_folder = Narrow(folder, CP_UTF8), utf8_song = Narrow(song, CP_UTF8);

  EXPECT_TRUE(FileExists(profile_, utf8_song));
  EXPECT_TRUE(FileExists(profile_, utf8_song + "\\")) << "with a backslash after it";
  EXPECT_FALSE(FileExists(profile_, utf8_folder)) << "a folder is no file";

  SettingsRecord saved;
  saved.BgmKind = 2;
  saved.BgmFile = utf8_song;
  ASSERT_TRUE(SaveSettings(profile_, IniPath(folder_), saved));
  EXPECT_EQ(ReadIni(profile_, kIniSection, kKeyBgmFile, IniPath(folder_)), Narrow(song, CP_ACP));
  EXPECT_EQ(ReadIni(profile_, kIniSection, kKeyBgmFileWhole, IniPath(folder_)), "")
      << "a path the code page spells needs nothing more";
  SettingsRecord loaded;
  LoadSettings(profile_, IniPath(folder_), folder_, loaded);
  EXPECT_EQ(loaded.BgmKind, 2);
  EXPECT_EQ(loaded.BgmFile, utf8_song);
  EXPECT_EQ(loaded.BgmFolder, utf8_folder);

  DeleteFileW(song.c_str());
  RemoveDirectoryW(folder.c_str());
}

// 音, which 1252 lacks, and é and ¥, of which 932 has only look-alikes (the
// backslash byte for ¥): spelt so, the name would be another.
TEST_F(ProfileTest, ANameNoCodePageSpellsIsKeptWhole) {
  const std::wstring song = Wide(folder_, CP_ACP) + L"\\\u97f3 caf\u00e9 \u00a5100.mp3";
  HANDLE file = CreateFileW(song.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  const std::string utf8_song = Narrow(song, CP_UTF8);
  EXPECT_EQ(profile_.ToCodePage(utf8_song, GetACP()), std::nullopt) << "best fit spelt it";

  SettingsRecord saved;
  saved.BgmKind = 2;
  saved.BgmFile = utf8_song;
  ASSERT_TRUE(SaveSettings(profile_, IniPath(folder_), saved));
  const std::string beside = ReadIni(profile_, kIniSection, kKeyBgmFile, IniPath(folder_));
  std::printf("BGMﾌｧｲﾙ beside the whole path: '%s'\n", beside.c_str());
  EXPECT_EQ(beside.find('?'), std::string::npos);
  EXPECT_EQ(FileBytes().find("\\100"), std::string::npos) << "¥ as the backslash: " << FileBytes();
  SettingsRecord loaded;
  LoadSettings(profile_, IniPath(folder_), folder_, loaded);
  EXPECT_EQ(loaded.BgmKind, 2);
  EXPECT_EQ(loaded.BgmFile, utf8_song);
  DeleteFileW(song.c_str());
}

// The 64-bit edition's file lives under the user's own folder, whose name no
// code page may spell: the same bytes land there all the same.
TEST_F(ProfileTest, ASettingsFileUnderANameNoCodePageSpellsKeepsItsBytes) {
  const std::wstring folder = Wide(folder_, CP_ACP) + L"\\\u5c71\u7530-\ud55c\uae00";  // 山田-한글
  const std::wstring ini = folder + L"\\Tremblix.ini";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  SettingsRecord saved;
  saved.BgmKind = 1;
  saved.BgmRepeat = 7;
  SaveSettings(profile_, ini, saved);

  SettingsRecord loaded;
  LoadSettings(profile_, ini, folder_, loaded);
  EXPECT_EQ(loaded.BgmKind, 1);
  EXPECT_EQ(loaded.BgmRepeat, 7);
  HANDLE file = CreateFileW(ini.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << "no settings file under the wide name";
  char bytes[256] = {};
  DWORD read = 0;
  ReadFile(file, bytes, sizeof bytes - 1, &read, nullptr);
  CloseHandle(file);
  EXPECT_NE(std::string(bytes, read).find("BGM\xD8\xCB\xDF\xB0\xC4="), std::string::npos)
      << "file holds: " << std::string(bytes, read);
  DeleteFileW(ini.c_str());
  RemoveDirectoryW(folder.c_str());
}

TEST(ThisProgramFolder, IsTheFolderOfTheRunningProgram) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = ThisProgramFolder();
  EXPECT_EQ(std::string(path).rfind(folder, 0), 0u);
  Win32Profile profile;
  EXPECT_TRUE(FileExists(profile, path));
}

}  // namespace
}  // namespace tremblix
