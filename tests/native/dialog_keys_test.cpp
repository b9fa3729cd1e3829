// The settings dialog by the keyboard: the arrows through the kinds, the
// group's one stop, and what Enter and Escape press.
#include "saver/settings/dialog_keys.h"

#include <gtest/gtest.h>

namespace tremblix {
namespace {

constexpr int16_t kCd = kBgmCd, kNone = kBgmNone, kFile = kBgmFile;

TEST(DialogKeysTest, TheKeysOnTheKindsGoInScreenOrderAndWrap) {
  struct Row { int16_t focused; int key; std::optional<int16_t> chosen; };
  const Row rows[] = {
      {kCd, kKeyDown, kNone},   {kNone, kKeyDown, kFile},    {kFile, kKeyDown, kCd},
      {kCd, kKeyRight, kNone},  {kCd, kKeyUp, kFile},        {kNone, kKeyUp, kCd},
      {kFile, kKeyLeft, kNone}, {kFile, kKeySpace, kFile},   {kNone, kKeyReturn, std::nullopt},
      {kCd, kKeyEscape, std::nullopt}, {kCd, 'A', std::nullopt},
      {5, kKeyDown, std::nullopt},     {-1, kKeySpace, std::nullopt},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(KindForKey(r.focused, r.key), r.chosen) << "kind " << r.focused << " key " << r.key;
  }
}

TEST(DialogKeysTest, TheGroupsStopIsTheChosenKindElseTheFirstOnTheScreen) {
  const int16_t rows[][2] = {{kNone, kNone}, {kCd, kCd}, {kFile, kFile}, {5, kCd}, {-1, kCd}};
  for (const auto& r : rows) EXPECT_EQ(KindTabStop(r[0]), r[1]) << "chosen " << r[0];
}

TEST(DialogKeysTest, EnterPressesTheFocusedButtonElseSetAndEscapeCancels) {
  using S = DialogStop;
  using B = DialogButton;
  struct Row { int key; S focus; bool list_open; B pressed; };
  const Row rows[] = {
      {kKeyReturn, S::kKinds, false, B::kSet},        {kKeyReturn, S::kRepeatBox, false, B::kSet},
      {kKeyReturn, S::kRepeatBox, true, B::kNone},    {kKeyEscape, S::kRepeatBox, true, B::kNone},
      {kKeyEscape, S::kRepeatBox, false, B::kCancel}, {kKeyReturn, S::kFileButton, false, B::kFileButton},
      {kKeyReturn, S::kMonitors, false, B::kSet},     {kKeyReturn, S::kSet, false, B::kSet},
      {kKeyReturn, S::kCancel, false, B::kCancel},    {kKeyReturn, S::kHomePage, false, B::kNone},
      {kKeyEscape, S::kHomePage, false, B::kCancel},  {kKeyReturn, S::kElsewhere, false, B::kSet},
      {kKeyEscape, S::kSet, false, B::kCancel},       {kKeySpace, S::kSet, false, B::kNone},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(ButtonForKey(r.key, r.focus, r.list_open), r.pressed)
        << "key " << r.key << " at stop " << static_cast<int>(r.focus) << (r.list_open ? " list open" : "");
  }
}

}  // namespace
}  // namespace tremblix
