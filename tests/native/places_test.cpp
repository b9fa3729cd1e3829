#include "saver/common/places.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tremblix {
namespace {

TEST(PictureFolder, IsTheUsersOwnOrNone) {
  const std::wstring mine = UserFolder(L"C:\\Users\\山田\\AppData\\Local");
  EXPECT_EQ(mine, L"C:\\Users\\山田\\AppData\\Local\\Tremblix");
  EXPECT_EQ(PictureFolder(mine, true), mine);
  // Never the root of C:, which other accounts and older versions share.
  EXPECT_EQ(PictureFolder(mine, false), L"");
  EXPECT_EQ(PictureFolder(L"", true), L"");
}

TEST(PicturePath, OneSpellingForBothProgramsAndNoneWithoutAFolder) {
  const std::wstring mine = L"C:\\Users\\u\\AppData\\Local\\Tremblix";
  EXPECT_EQ(PicturePath(mine, 1), mine + L"\\Tremblix1.bmp");
  EXPECT_EQ(PictureName(4), L"Tremblix4.bmp");
  EXPECT_EQ(PictureTempPath(mine, 3), mine + L"\\Tremblix3.bmp.tmp");
  EXPECT_EQ(PictureBackupPath(mine, 3), mine + L"\\Tremblix3.bmp.old");
  // No folder is no file, not one in the root of the current drive.
  EXPECT_EQ(PicturePath(L"", 1), L"");
  EXPECT_EQ(PictureTempPath(L"", 1), L"");
  EXPECT_EQ(PictureBackupPath(L"", 1), L"");
}

TEST(PicturePath, OtherMonitorsSetsAreNamedByTheirNumberAndFoundAgainByName) {
  const std::wstring mine = L"C:\\Users\\u\\AppData\\Local\\Tremblix";
  EXPECT_EQ(PicturePath(mine, 1, 2), mine + L"\\Tremblix2.bmp") << "the primary's, as ever";
  EXPECT_EQ(PicturePath(mine, 2, 3), mine + L"\\Tremblix-2-3.bmp");
  EXPECT_EQ(PictureTempPath(mine, 12, 1), mine + L"\\Tremblix-12-1.bmp.tmp");
  EXPECT_EQ(MonitorsFilePath(mine), mine + L"\\Tremblix.monitors");
  EXPECT_EQ(MonitorsFilePath(L""), L"");

  EXPECT_EQ(PictureSetOfFile(PictureName(3, 2)), 3);
  EXPECT_EQ(PictureSetOfFile(L"TREMBLIX-12-1.BMP.TMP"), 12);
  EXPECT_EQ(PictureSetOfFile(L"Tremblix-2-3.bmp.old"), 2);
  for (const wchar_t* other : {L"Tremblix1.bmp", L"Tremblix-1-1.bmp", L"Tremblix-02-1.bmp",
                               L"Tremblix-2-1.bmp.bak", L"Tremblix-2-.bmp", L"Tremblix-x-1.bmp",
                               L"Tremblix-2-1.bmpx", L"Tremblix.monitors", L"Tremblix-2-1"}) {
    EXPECT_FALSE(PictureSetOfFile(other)) << other;
  }
}

TEST(SettingsPlaceOf, BothEditionsInTheRoamingFolderEachTakingOverItsEarlierFile) {
  const std::wstring roaming = UserFolder(L"C:\\Users\\u\\AppData\\Roaming");
  const std::wstring local = L"C:\\Users\\u\\AppData\\Local";
  const std::wstring file = roaming + L"\\Tremblix.ini";

  // The 32-bit edition on 64-bit Windows, from SysWOW64: its own old file.
  SettingsPlace x86 = SettingsPlaceOf(Edition::k32Bit, L"C:\\Windows\\SysWOW64", roaming, local,
                                      L"C:\\Windows\\SysWOW64");
  EXPECT_EQ(x86.file, file);
  EXPECT_EQ(x86.earlier,
            (std::vector<std::wstring>{
                local + L"\\VirtualStore\\Windows\\SysWOW64\\Tremblix.ini",
                L"C:\\Windows\\SysWOW64\\Tremblix.ini"}));
  // On 32-bit Windows, from System32, where there is no WOW64 folder.
  SettingsPlace x86_only =
      SettingsPlaceOf(Edition::k32Bit, L"C:\\Windows\\System32", roaming, local, L"");
  EXPECT_EQ(x86_only.file, file);
  EXPECT_EQ(x86_only.earlier,
            (std::vector<std::wstring>{
                local + L"\\VirtualStore\\Windows\\System32\\Tremblix.ini",
                L"C:\\Windows\\System32\\Tremblix.ini"}));

  // The 64-bit edition, from System32: the 32-bit edition's file, not one
  // beside itself, which no version ever kept.
  SettingsPlace x64 = SettingsPlaceOf(Edition::k64Bit, L"C:\\Windows\\System32", roaming, local,
                                      L"C:\\Windows\\SysWOW64");
  EXPECT_EQ(x64.file, file);
  EXPECT_EQ(x64.earlier, x86.earlier);
  EXPECT_TRUE(SettingsPlaceOf(Edition::k64Bit, L"C:\\Windows\\System32", roaming, local, L"")
                  .earlier.empty());

  // No local folder: the shared file alone.
  EXPECT_EQ(SettingsPlaceOf(Edition::k32Bit, L"D:\\Tools", roaming, L"", L"").earlier,
            (std::vector<std::wstring>{L"D:\\Tools\\Tremblix.ini"}));
}

TEST(SettingsPlaceOf, WithoutARoamingFolderBesideTheProgramWithNothingToTakeOver) {
  for (Edition edition : {Edition::k32Bit, Edition::k64Bit}) {
    SettingsPlace place = SettingsPlaceOf(edition, L"D:\\Tools", L"", L"C:\\L", L"C:\\W");
    EXPECT_EQ(place.file, L"D:\\Tools\\Tremblix.ini");
    EXPECT_TRUE(place.earlier.empty());
  }
  // At a drive root the backslash is doubled, which the profile functions take.
  EXPECT_EQ(SettingsPlaceOf(Edition::k32Bit, L"C:\\", L"", L"", L"").file, L"C:\\\\Tremblix.ini");
  EXPECT_EQ(SettingsPlaceOf(Edition::k32Bit, L"C:\\", L"R", L"L", L"").earlier,
            (std::vector<std::wstring>{L"L\\VirtualStore\\Tremblix.ini", L"C:\\\\Tremblix.ini"}));
}

TEST(SettingsToTakeOver, OnlyWithoutAFileOfTheUsersOwnAndFromTheFirstThatExists) {
  const std::vector<std::wstring> earlier = {L"virtualised", L"shared"};
  std::vector<std::wstring> there;
  auto exists = [&](const std::wstring& file) {
    return std::find(there.begin(), there.end(), file) != there.end();
  };
  EXPECT_EQ(SettingsToTakeOver(false, earlier, exists), L"");
  there = {L"shared"};
  EXPECT_EQ(SettingsToTakeOver(false, earlier, exists), L"shared");
  there = {L"shared", L"virtualised"};
  EXPECT_EQ(SettingsToTakeOver(false, earlier, exists), L"virtualised");
  // A later start, with the user's own file: nothing is taken again.
  EXPECT_EQ(SettingsToTakeOver(true, earlier, exists), L"");
}

}  // namespace
}  // namespace tremblix
