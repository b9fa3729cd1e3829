#include "saver/startup/command_line.h"

namespace tremblix {

std::string SwitchLetter(std::string_view args) {
  if (args.size() < 2) return std::string();
  char letter = args[1];
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  return std::string(1, letter);
}

int32_t HostHandle(std::string_view args) {
  if (args.size() < 4) return 0;
  std::string_view text = args.substr(3);
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  const bool negative = i < text.size() && text[i] == '-';
  if (negative) ++i;
  // Arithmetic modulo 2^32 keeps the low 32 bits of any length of digits.
  uint32_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10u + static_cast<uint32_t>(text[i] - '0');
  }
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

}  // namespace tremblix
