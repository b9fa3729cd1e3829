#include "saver/startup/command_line.h"

#include <gtest/gtest.h>

namespace tremblix {
namespace {

TEST(SwitchLetter, IsTheSecondCharacterUpperCased) {
  EXPECT_EQ(SwitchLetter("/s"), "S");
  EXPECT_EQ(SwitchLetter("/S"), "S");
  EXPECT_EQ(SwitchLetter("-S"), "S");
  EXPECT_EQ(SwitchLetter("xs"), "S");  // the first character is never looked at
  EXPECT_EQ(SwitchLetter("/c:1234"), "C");
  EXPECT_EQ(SwitchLetter("/p 1234"), "P");
  EXPECT_EQ(SwitchLetter("/a"), "A");
  EXPECT_EQ(SwitchLetter("/1"), "1");
}

TEST(SwitchLetter, IsEmptyForShortTexts) {
  EXPECT_EQ(SwitchLetter(""), "");
  EXPECT_EQ(SwitchLetter("/"), "");
}

TEST(HostHandle, ReadsTheNumberFromTheFourthCharacter) {
  EXPECT_EQ(HostHandle("/p 1234"), 1234);
  EXPECT_EQ(HostHandle("/p:1234"), 1234);
  EXPECT_EQ(HostHandle("/p   1234"), 1234);
  EXPECT_EQ(HostHandle("/p 1234 5678"), 1234);
  EXPECT_EQ(HostHandle("/p 2147483647"), 2147483647);
  EXPECT_EQ(HostHandle("/p 12.5"), 12);  // to the nearest, ties to the even one
}

TEST(HostHandle, IsZeroWhenThereIsNoUsableNumber) {
  EXPECT_EQ(HostHandle("/p"), 0);
  EXPECT_EQ(HostHandle("/p "), 0);
  EXPECT_EQ(HostHandle("/p abc"), 0);
  EXPECT_EQ(HostHandle("/p 2147483648"), 0);
  EXPECT_EQ(HostHandle("/p 99999999999999999999"), 0);
  EXPECT_EQ(HostHandle(""), 0);
}

}  // namespace
}  // namespace tremblix
