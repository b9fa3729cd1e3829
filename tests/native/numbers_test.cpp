#include "saver/common/numbers.h"

#include <gtest/gtest.h>

namespace tremblix {
namespace {

TEST(NumberText, KeepsASignPosition) {
  EXPECT_EQ(NumberText(2), " 2");
  EXPECT_EQ(NumberText(0), " 0");
  EXPECT_EQ(NumberText(-3), "-3");
  EXPECT_EQ(NumberText(32767), " 32767");
  EXPECT_EQ(NumberText(-32768), "-32768");
}

TEST(FormatHashHash, ShowsNothingForZero) {
  EXPECT_EQ(FormatHashHash(0), "");
  EXPECT_EQ(FormatHashHash(5), "5");
  EXPECT_EQ(FormatHashHash(30), "30");
  EXPECT_EQ(FormatHashHash(-3), "-3");
}

TEST(ParseNumber, AcceptsDecimalNumbersWithBlanksAround) {
  EXPECT_EQ(ParseNumber("2"), 2.0);
  EXPECT_EQ(ParseNumber("  2 \t"), 2.0);
  EXPECT_EQ(ParseNumber("+2"), 2.0);
  EXPECT_EQ(ParseNumber("-1.5"), -1.5);
  EXPECT_EQ(ParseNumber(".5"), 0.5);
  EXPECT_EQ(ParseNumber("5."), 5.0);
  EXPECT_EQ(ParseNumber("2e3"), 2000.0);
  EXPECT_EQ(ParseNumber("2.5E-1"), 0.25);
}

TEST(ParseNumber, RejectsWhatIsNoNumber) {
  for (const char* text : {"", " ", "abc", "2a", "2 3", ".", "-", "e5", "2e", "1,5", "0x10",
                           "inf", "nan", "--2", "1e999"}) {
    EXPECT_FALSE(ParseNumber(text).has_value()) << '"' << text << '"';
    EXPECT_FALSE(IsNumeric(text)) << '"' << text << '"';
  }
  EXPECT_EQ(ParseNumber("1e-999"), 0.0);  // vanishingly small is still a number
}

TEST(IntegerPart16, TakesTheIntegerPartTowardsMinusInfinity) {
  EXPECT_EQ(IntegerPart16("2"), 2);
  EXPECT_EQ(IntegerPart16(" 2 "), 2);
  EXPECT_EQ(IntegerPart16("2.7"), 2);
  EXPECT_EQ(IntegerPart16("-1.5"), -2);
  EXPECT_EQ(IntegerPart16("-0.5"), -1);
  EXPECT_EQ(IntegerPart16("5"), 5);
  EXPECT_EQ(IntegerPart16("32767.9"), 32767);
  EXPECT_EQ(IntegerPart16("-32768"), -32768);
}

TEST(IntegerPart16, RefusesNoNumberAndWhatDoesNotFit) {
  EXPECT_FALSE(IntegerPart16("99999"));
  EXPECT_FALSE(IntegerPart16("32768"));
  EXPECT_FALSE(IntegerPart16("-32768.5"));
  EXPECT_FALSE(IntegerPart16("abc"));
  EXPECT_FALSE(IntegerPart16(""));
}

TEST(RoundToInt16, RoundsTiesToTheEvenOne) {
  EXPECT_EQ(RoundToInt16(2.5), 2);
  EXPECT_EQ(RoundToInt16(3.5), 4);
  EXPECT_EQ(RoundToInt16(-2.5), -2);
  EXPECT_EQ(RoundToInt16(2.4999), 2);
  EXPECT_EQ(RoundToInt16(32767.4), 32767);
  EXPECT_FALSE(RoundToInt16(32767.5));  // rounds to 32768
  EXPECT_EQ(RoundToInt16(-32768.5), -32768);
  EXPECT_FALSE(RoundToInt16(-32769));
}

TEST(LeadingNumber, ReadsAsFarAsTheNumberGoes) {
  EXPECT_EQ(LeadingNumber("1234"), 1234);
  EXPECT_EQ(LeadingNumber("   1234"), 1234);
  EXPECT_EQ(LeadingNumber("1234abc"), 1234);
  EXPECT_EQ(LeadingNumber("12e"), 12);
  EXPECT_EQ(LeadingNumber("-7 8"), -7);
  EXPECT_EQ(LeadingNumber("2.5x"), 2.5);
  EXPECT_EQ(LeadingNumber("abc"), 0);
  EXPECT_EQ(LeadingNumber(""), 0);
  EXPECT_EQ(LeadingNumber("1e999"), 0);
}

TEST(HasNumberForm, IncludesNumbersTooLargeForADouble) {
  EXPECT_TRUE(HasNumberForm(" 1e999 "));
  EXPECT_FALSE(IsNumeric("1e999"));
  EXPECT_TRUE(HasNumberForm("-2.5"));
  EXPECT_FALSE(HasNumberForm("12e"));
  EXPECT_FALSE(HasNumberForm(""));
  EXPECT_FALSE(HasNumberForm("abc"));
}

}  // namespace
}  // namespace tremblix
