#include "saver/run/photograph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace tremblix {
namespace {

// A screen of 32-bit pixels, all of one colour, its fourth bytes garbage.
struct Screen {
  Screen(int32_t width, int32_t height) : bytes(static_cast<size_t>(width) * height * 4) {
    for (size_t i = 0; i < bytes.size(); i += 4) {
      bytes[i] = 0x30, bytes[i + 1] = 0x60, bytes[i + 2] = 0x90, bytes[i + 3] = uint8_t(i);
    }
    pixels = {width, height, 4, static_cast<size_t>(width) * 4, bytes.data()};
  }
  std::vector<uint8_t> bytes;
  ScreenPixels pixels;
};

TEST(IsOneColour, OnlyWhenEveryPixelHasTheFirstOnesColour) {
  Screen blank(64, 48);
  EXPECT_TRUE(IsOneColour(blank.pixels)) << "the fourth byte is no colour";
  // One pixel off, in the last row and the last column: a photograph.
  Screen two(64, 48);
  two.bytes[two.bytes.size() - 4 + 2] ^= 1;
  EXPECT_FALSE(IsOneColour(two.pixels));
  Screen first_differs(3, 1);
  first_differs.bytes[0] = 0;
  EXPECT_FALSE(IsOneColour(first_differs.pixels));
  // Rows of 24-bit pixels padded to four bytes: the padding is no pixel.
  std::vector<uint8_t> padded = {1, 2, 3, 99, 1, 2, 3, 77};
  EXPECT_TRUE(IsOneColour({1, 2, 3, 4, padded.data()}));
  EXPECT_TRUE(IsOneColour({0, 0, 4, 0, nullptr})) << "no pixels: nothing was copied";
}

TEST(SaverIsSecure, WindowsAnswerElseThePolicyElseTheUsersValue) {
  using T = std::optional<std::wstring>;
  EXPECT_TRUE(SaverIsSecure(true, std::nullopt, T(L"0")));
  EXPECT_FALSE(SaverIsSecure(false, T(L"1"), T(L"1")));
  // Where Windows gives no answer (Wine), what it keeps.
  EXPECT_TRUE(SaverIsSecure(std::nullopt, std::nullopt, T(L"1")));
  EXPECT_FALSE(SaverIsSecure(std::nullopt, std::nullopt, T(L"0")));
  EXPECT_FALSE(SaverIsSecure(std::nullopt, std::nullopt, std::nullopt));
  EXPECT_FALSE(SaverIsSecure(std::nullopt, std::nullopt, T(L"")));
  EXPECT_TRUE(SaverIsSecure(std::nullopt, std::nullopt, T(L" 01")));
  EXPECT_FALSE(SaverIsSecure(std::nullopt, std::nullopt, T(L"x1")));
  // A policy overrides the user's own choice, both ways.
  EXPECT_FALSE(SaverIsSecure(std::nullopt, T(L"0"), T(L"1")));
  EXPECT_TRUE(SaverIsSecure(std::nullopt, T(L"1"), T(L"0")));
}

TEST(WallpaperFiles, WindowsOwnCopyFirstAndNoneForAPlainDesktop) {
  const std::wstring roaming = L"C:\\Users\\u\\AppData\\Roaming";
  EXPECT_EQ(WallpaperFiles(L"D:\\Pictures\\sea.heic", roaming),
            (std::vector<std::wstring>{
                roaming + L"\\Microsoft\\Windows\\Themes\\TranscodedWallpaper",
                L"D:\\Pictures\\sea.heic"}));
  EXPECT_EQ(WallpaperFiles(L"D:\\sea.jpg", L""), (std::vector<std::wstring>{L"D:\\sea.jpg"}));
  // A copy an earlier wallpaper left is no picture of today's plain desktop.
  EXPECT_TRUE(WallpaperFiles(L"", roaming).empty());
}

constexpr auto kPhoto = PictureSource::kPhotograph;
constexpr auto kCopy = PictureSource::kCompanionCopy;
constexpr auto kWall = PictureSource::kWallpaper;
constexpr auto kColour = PictureSource::kDesktopColour;

TEST(PictureSources, NeverAnOldDesktop) {
  constexpr auto kFresh = CopyState::kFresh, kOld = CopyState::kOld, kNone = CopyState::kAbsent;
  using S = std::vector<PictureSource>;
  struct Row {
    const wchar_t* desktop;
    bool secure, photograph;
    CopyState copy;
    bool present;
    S sources;
  } rows[] = {
      {L"Default", false, true, kNone, false, {kPhoto, kWall, kColour}},
      {L"default", false, true, kFresh, true, {kPhoto, kCopy, kWall, kColour}},
      {L"Default", false, false, kNone, false, {kWall, kColour}},
      {L"Screen-saver", false, true, kFresh, true, {kCopy, kWall, kColour}},
      {L"SCREEN-SAVER", false, false, kOld, true, {kWall, kColour}},
      {L"Screen-saver", false, false, kFresh, false, {kWall, kColour}},
      {L"Screen-saver", false, false, kNone, false, {kWall, kColour}},
      {L"Screen-saver", true, false, kFresh, true, {kWall, kColour}},
      {L"Default", true, true, kFresh, true, {kWall, kColour}},
      {L"Winlogon", false, true, kNone, false, {kWall, kColour}},
      {L"Defaults", false, true, kNone, false, {kWall, kColour}},
      {L"", false, true, kNone, false, {kWall, kColour}},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(PictureSources({r.desktop, r.secure, r.photograph, r.copy, r.present}), r.sources)
        << static_cast<int>(&r - rows);
  }
  EXPECT_TRUE(MayCopyScreen(L"DEFAULT", false));
  EXPECT_FALSE(MayCopyScreen(L"Screen-saver", false));
  EXPECT_FALSE(MayCopyScreen(L"Default", true));
}

// Pictures 1 to 4 of a folder, each from some source, and which writes fail.
class FakeMaker : public PictureMaker {
 public:
  bool Write(PictureSource source, int n) override {
    tried.push_back(source);
    if (n >= fails_from[static_cast<int>(source)]) return false;
    folder[n] = source;
    return true;
  }
  void Remove(int n) override { folder[n].reset(); }

  std::optional<PictureSource> folder[5] = {kPhoto, kPhoto, kPhoto, kPhoto, kPhoto};
  int fails_from[4] = {9, 9, 9, 9};  // by source: the first picture whose write fails
  std::vector<PictureSource> tried;
};

TEST(MakePictures, TheFirstSourceThatGivesEveryPictureAndNoEarlierOneLeft) {
  const PictureFacts away = {L"Screen-saver", false, false, CopyState::kFresh, true};
  FakeMaker copied;
  EXPECT_EQ(MakePictures(away, copied), kCopy);
  EXPECT_EQ(copied.tried, std::vector<PictureSource>(4, kCopy)) << "the wallpaper is not read";
  // The third picture of the copy cannot be written: the wallpaper, all four.
  FakeMaker full;
  full.fails_from[static_cast<int>(kCopy)] = 3;
  EXPECT_EQ(MakePictures(away, full), kWall);
  for (int n = 1; n <= 4; ++n) EXPECT_EQ(full.folder[n], kWall) << n;
  // No wallpaper, and the colour fails from the second picture on: what
  // this run wrote may stay, an earlier picture does not.
  FakeMaker nothing;
  nothing.fails_from[static_cast<int>(kWall)] = 1;
  nothing.fails_from[static_cast<int>(kColour)] = 2;
  EXPECT_EQ(MakePictures({L"Default"}, nothing), std::nullopt);
  EXPECT_EQ(nothing.folder[1], kColour);
  for (int n = 2; n <= 4; ++n) EXPECT_EQ(nothing.folder[n], std::nullopt) << n;
}

}  // namespace
}  // namespace tremblix
