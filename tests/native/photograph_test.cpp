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

// Pictures 1 to 4 of a folder, each from some source, and which writes fail.
class FakeMaker : public PictureMaker {
 public:
  bool EarlierPicturesThere() override {
    for (int n = 1; n <= 4; ++n) {
      if (!folder[n]) return false;
    }
    return true;
  }
  bool Write(PictureSource source, int n) override {
    tried.push_back(source);
    if (source == PictureSource::kWallpaper && !wallpaper) return false;
    if (n >= fails_from[static_cast<int>(source)]) return false;
    folder[n] = source;
    return true;
  }
  void Remove(int n) override { folder[n].reset(); }

  bool HoldsAPhotograph() const {
    for (const auto& picture : folder) {
      if (picture == PictureSource::kPhotograph) return true;
    }
    return false;
  }

  std::optional<PictureSource> folder[5];
  bool wallpaper = true;
  int fails_from[4] = {9, 9, 9, 9};  // by source: the first picture whose write fails
  std::vector<PictureSource> tried;
};

constexpr auto kPhoto = PictureSource::kPhotograph;
constexpr auto kEarlier = PictureSource::kEarlierPictures;
constexpr auto kWall = PictureSource::kWallpaper;
constexpr auto kColour = PictureSource::kDesktopColour;

FakeMaker WithEarlierPhotographs() {
  FakeMaker maker;
  for (int n = 1; n <= 4; ++n) maker.folder[n] = kPhoto;
  return maker;
}

TEST(MakePictures, ThePhotographThenEarlierPicturesThenTheWallpaperThenTheColour) {
  FakeMaker fresh;
  EXPECT_EQ(MakePictures(false, true, fresh), kPhoto);
  FakeMaker kept = WithEarlierPhotographs();
  EXPECT_EQ(MakePictures(false, false, kept), kEarlier);
  EXPECT_TRUE(kept.tried.empty()) << "the wallpaper is read only when it is used";
  FakeMaker none;
  EXPECT_EQ(MakePictures(false, false, none), kWall);
  FakeMaker plain;
  plain.wallpaper = false;
  EXPECT_EQ(MakePictures(false, false, plain), kColour);
  EXPECT_EQ(plain.folder[2], kColour) << "not black";
}

TEST(MakePictures, APasswordProtectedSaverNeverLeavesAPhotographForTheRenderer) {
  // This run's photograph is not used, and an earlier one is written over.
  FakeMaker maker = WithEarlierPhotographs();
  EXPECT_EQ(MakePictures(true, true, maker), kWall);
  EXPECT_FALSE(maker.HoldsAPhotograph());
  FakeMaker plain = WithEarlierPhotographs();
  plain.wallpaper = false;
  EXPECT_EQ(MakePictures(true, true, plain), kColour);
  EXPECT_FALSE(plain.HoldsAPhotograph());
  EXPECT_EQ(std::count(plain.tried.begin(), plain.tried.end(), kPhoto), 0);

  // Nothing can be written (a full disk from the third picture on): the
  // earlier photographs are removed, not kept.
  FakeMaker full = WithEarlierPhotographs();
  full.fails_from[static_cast<int>(kWall)] = 3;
  full.fails_from[static_cast<int>(kColour)] = 1;
  EXPECT_EQ(MakePictures(true, false, full), std::nullopt);
  EXPECT_FALSE(full.HoldsAPhotograph());
  EXPECT_EQ(full.folder[1], kWall) << "what this run wrote may stay";
  EXPECT_EQ(full.folder[3], std::nullopt);
  EXPECT_EQ(full.folder[4], std::nullopt);
}

TEST(MakePictures, AFailedWriteWithoutThePasswordKeepsTheEarlierPictures) {
  FakeMaker maker = WithEarlierPhotographs();
  maker.fails_from[static_cast<int>(kPhoto)] = 1;  // out of memory, or a full disk
  EXPECT_EQ(MakePictures(false, true, maker), kEarlier);
  for (int n = 1; n <= 4; ++n) EXPECT_EQ(maker.folder[n], kPhoto) << n;
  // No earlier pictures either: the photograph's fallbacks.
  FakeMaker first_run;
  first_run.fails_from[static_cast<int>(kPhoto)] = 2;
  EXPECT_EQ(MakePictures(false, true, first_run), kWall);
  // Nothing at all: nothing is removed.
  FakeMaker full = WithEarlierPhotographs();
  for (int& from : full.fails_from) from = 1;
  full.folder[4].reset();
  EXPECT_EQ(MakePictures(false, true, full), std::nullopt);
  EXPECT_EQ(full.folder[1], kPhoto);
}

TEST(MakePictures, AnotherMonitorsSetIsThreePicturesJudgedAlone) {
  // Its own copy blank, its earlier set of another size (the maker says none
  // is there): the wallpaper, three pictures and no black one.
  FakeMaker blank;
  EXPECT_EQ(MakePictures(false, false, blank, 3), kWall);
  EXPECT_EQ(blank.tried.size(), 3u);
  EXPECT_EQ(blank.folder[4], std::nullopt);
  // Password-protected and nothing can be written: its three go.
  FakeMaker full = WithEarlierPhotographs();
  for (int& from : full.fails_from) from = 1;
  EXPECT_EQ(MakePictures(true, true, full, 3), std::nullopt);
  for (int n = 1; n <= 3; ++n) EXPECT_EQ(full.folder[n], std::nullopt) << n;
}

}  // namespace
}  // namespace tremblix
