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
  EXPECT_EQ(HostHandle("/c:1234"), 1234);
  EXPECT_EQ(HostHandle("/c 1234"), 1234);
  EXPECT_EQ(HostHandle("/p   1234"), 1234);
  EXPECT_EQ(HostHandle("/p 1234 5678"), 1234);
  EXPECT_EQ(HostHandle("/p 2147483647"), 2147483647);
  EXPECT_EQ(HostHandle("/p 12.5"), 12);  // reading stops at the point
}

// Windows writes a handle as an unsigned decimal: the upper half of the 32
// bits is a negative handle, and only the low 32 bits count.
TEST(HostHandle, IsAnUnsignedDecimalWhoseLow32BitsAreKept) {
  EXPECT_EQ(HostHandle("/p 2147483648"), INT32_MIN);
  EXPECT_EQ(HostHandle("/p 4294967295"), -1);
  EXPECT_EQ(HostHandle("/c:3221291010"), -1073676286);  // 0xC0010102
  EXPECT_EQ(HostHandle("/p 4294967296"), 0);
  EXPECT_EQ(HostHandle("/p 4294968530"), 1234);  // 2^32 + 1234
  EXPECT_EQ(HostHandle("/p 99999999999999999999"), 1661992959);  // its remainder by 2^32
}

TEST(HostHandle, TakesALeadingMinusSign) {
  EXPECT_EQ(HostHandle("/p -1234"), -1234);
  EXPECT_EQ(HostHandle("/c:-1"), -1);
  EXPECT_EQ(HostHandle("/p -2147483648"), INT32_MIN);
  EXPECT_EQ(HostHandle("/p -4294967295"), 1);
}

TEST(HostHandle, IsZeroWhenThereIsNoNumber) {
  EXPECT_EQ(HostHandle("/p"), 0);
  EXPECT_EQ(HostHandle("/p "), 0);
  EXPECT_EQ(HostHandle("/p abc"), 0);
  EXPECT_EQ(HostHandle("/p +5"), 0);
  EXPECT_EQ(HostHandle("/p -"), 0);
  EXPECT_EQ(HostHandle("/c"), 0);
  EXPECT_EQ(HostHandle(""), 0);
}

}  // namespace
}  // namespace tremblix
