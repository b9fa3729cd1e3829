// Number conversions of the screen-saver program: how numbers are written to
// and read from text (the settings file, the command line, the dialog).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tremblix {

// Decimal digits with a sign position in front: " 2", " 0", "-3".
std::string NumberText(long value);

// Digits with no leading zero and nothing at all for zero: 0 -> "", 12 -> "12".
std::string FormatHashHash(long value);

// The whole text as a decimal number: blanks around it, a sign, digits with an
// optional decimal point, an optional exponent. Anything else is no number.
std::optional<double> ParseNumber(std::string_view text);

bool IsNumeric(std::string_view text);

// Whether the whole text is written as a decimal number, as ParseNumber reads
// it, even one too large for a double.
bool HasNumberForm(std::string_view text);

// The leading number of a text, as far as it goes; 0 when it has none.
double LeadingNumber(std::string_view text);

// Nearest integer, ties to the even one; nothing when the result does not fit.
std::optional<int16_t> RoundToInt16(double value);
std::optional<int32_t> RoundToInt32(double value);

// The integer part towards minus infinity of the text read as a number;
// nothing when the text is no number or the result does not fit in 16 bits.
std::optional<int16_t> IntegerPart16(std::string_view text);

}  // namespace tremblix
