#include "saver/startup/command_line.h"

#include <optional>

#include "saver/common/numbers.h"

namespace tremblix {

std::string SwitchLetter(std::string_view args) {
  if (args.size() < 2) return std::string();
  char letter = args[1];
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  return std::string(1, letter);
}

int32_t HostHandle(std::string_view args) {
  if (args.size() < 4) return 0;
  return RoundToInt32(LeadingNumber(args.substr(3))).value_or(0);
}

}  // namespace tremblix
