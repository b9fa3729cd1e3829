// Any text read as a settings value or typed into the dialog: the number rules
// must agree with each other and never read outside the text.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "saver/common/numbers.h"

using namespace tremblix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::optional<double> number = ParseNumber(text);
  if (IsNumeric(text) != number.has_value()) std::abort();
  std::optional<int16_t> whole = IntegerPart16(text);
  if (whole) {
    if (!number || *whole > *number || *whole + 1 <= *number) std::abort();
  }
  if (number) {
    if (!std::isfinite(*number)) std::abort();
    // A number is its own leading number once the blanks before it are gone.
    double leading = LeadingNumber(text);
    if (leading != *number) std::abort();
    if (std::optional<int16_t> rounded = RoundToInt16(*number)) {
      if (std::fabs(*rounded - *number) > 0.5) std::abort();
    }
  }
  if (!std::isfinite(LeadingNumber(text))) std::abort();
  return 0;
}
