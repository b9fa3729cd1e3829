#include "saver/common/numbers.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace tremblix {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the longest prefix of text that is a decimal number
// ([sign] digits [. digits] [exponent]); 0 when there is none.
size_t NumberPrefix(std::string_view text) {
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  // An exponent counts only when digits follow it: "12e" reads as 12.
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    size_t exp_digits = 0;
    while (j < text.size() && IsDigit(text[j])) ++j, ++exp_digits;
    if (exp_digits > 0) i = j;
  }
  return i;
}

// Converts a text that NumberPrefix accepted whole. strtod is safe here: the
// program never changes the C locale, so the decimal point is always '.'.
std::optional<double> Convert(std::string_view number) {
  std::string copy(number);
  double value = std::strtod(copy.c_str(), nullptr);
  if (std::isinf(value)) return std::nullopt;
  return value;
}

template <typename Int>
std::optional<Int> Fit(double whole) {
  if (whole < std::numeric_limits<Int>::min() || whole > std::numeric_limits<Int>::max()) {
    return std::nullopt;
  }
  return static_cast<Int>(whole);
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

std::string NumberText(long value) {
  return value < 0 ? std::to_string(value) : " " + std::to_string(value);
}

std::string FormatHashHash(long value) {
  return value == 0 ? std::string() : std::to_string(value);
}

std::optional<double> ParseNumber(std::string_view text) {
  if (!HasNumberForm(text)) return std::nullopt;
  return Convert(TrimBlanks(text));
}

bool HasNumberForm(std::string_view text) {
  text = TrimBlanks(text);
  return !text.empty() && NumberPrefix(text) == text.size();
}

bool IsNumeric(std::string_view text) { return ParseNumber(text).has_value(); }

double LeadingNumber(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  size_t length = NumberPrefix(text);
  if (length == 0) return 0;
  return Convert(text.substr(0, length)).value_or(0);
}

std::optional<int16_t> RoundToInt16(double value) {
  return Fit<int16_t>(std::nearbyint(value));
}

std::optional<int32_t> RoundToInt32(double value) {
  return Fit<int32_t>(std::nearbyint(value));
}

std::optional<int16_t> IntegerPart16(std::string_view text) {
  std::optional<double> value = ParseNumber(text);
  if (!value) return std::nullopt;
  return Fit<int16_t>(std::floor(*value));
}

}  // namespace tremblix
