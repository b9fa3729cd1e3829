#include "saver/common/places.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tremblix {
namespace {

TEST(PictureFolder, IsTheUsersOwnWhereItExistsElseTheRootOfC) {
  const std::wstring mine = UserFolder(L"C:\\Users\\山田\\AppData\\Local");
  EXPECT_EQ(mine, L"C:\\Users\\山田\\AppData\\Local\\Tremblix");
  EXPECT_EQ(PictureFolder(mine, true), mine);
  EXPECT_EQ(PictureFolder(mine, false), L"C:");
  EXPECT_EQ(PictureFolder(L"", true), L"C:");
  // Both programs name the same four files, the renderer in capitals.
  EXPECT_EQ(PicturePath(mine, 1), mine + L"\\Tremblix1.bmp");
  EXPECT_EQ(PicturePath(L"C:", 4, L".BMP"), L"C:\\Tremblix4.BMP");
}

TEST(SettingsFile, ThirtyTwoBitBesideTheProgramSixtyFourBitInTheRoamingFolder) {
  const std::wstring roaming = UserFolder(L"C:\\Users\\u\\AppData\\Roaming");
  EXPECT_EQ(SettingsFile(Edition::k32Bit, L"C:\\Windows\\SysWOW64", roaming),
            L"C:\\Windows\\SysWOW64\\Tremblix.ini");
  EXPECT_EQ(SettingsFile(Edition::k64Bit, L"C:\\Windows\\System32", roaming),
            roaming + L"\\Tremblix.ini");
  // No roaming folder from Windows: beside the program, as ever.
  EXPECT_EQ(SettingsFile(Edition::k64Bit, L"D:\\Tools", L""), L"D:\\Tools\\Tremblix.ini");
  // At a drive root the backslash is doubled, which the profile functions take.
  EXPECT_EQ(SettingsFile(Edition::k32Bit, L"C:\\", roaming), L"C:\\\\Tremblix.ini");
}

TEST(EarlierSettingsFiles, TheUsersVirtualisedCopyFirstThenTheSharedFile) {
  EXPECT_EQ(EarlierSettingsFiles(L"C:\\Users\\u\\AppData\\Local", L"C:\\Windows\\SysWOW64"),
            (std::vector<std::wstring>{
                L"C:\\Users\\u\\AppData\\Local\\VirtualStore\\Windows\\SysWOW64\\Tremblix.ini",
                L"C:\\Windows\\SysWOW64\\Tremblix.ini"}));
  // No local folder, or a 32-bit Windows without a WOW64 folder.
  EXPECT_EQ(EarlierSettingsFiles(L"", L"C:\\Windows\\SysWOW64"),
            (std::vector<std::wstring>{L"C:\\Windows\\SysWOW64\\Tremblix.ini"}));
  EXPECT_TRUE(EarlierSettingsFiles(L"C:\\Users\\u\\AppData\\Local", L"").empty());
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
