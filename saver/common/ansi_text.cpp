#include "saver/common/ansi_text.h"

namespace tremblix {

bool NoLeadBytes(uint8_t) { return false; }

bool Cp932LeadByte(uint8_t byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

namespace {

// Bytes of the character that starts at `at`.
size_t CharacterLength(std::string_view text, size_t at, LeadByteTest lead) {
  return lead(static_cast<uint8_t>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

}  // namespace

std::string_view LastCharacters(std::string_view text, size_t count, LeadByteTest lead) {
  // Only a scan from the start tells lead bytes from second bytes. The starts
  // of the last `count` characters are kept in a ring.
  constexpr size_t kMost = 8;
  if (count == 0) return text.substr(text.size());
  if (count > kMost) count = kMost;
  size_t starts[kMost];
  size_t seen = 0;
  for (size_t at = 0; at < text.size(); at += CharacterLength(text, at, lead)) {
    starts[seen++ % count] = at;
  }
  if (seen < count) return text;
  return text.substr(starts[seen % count]);
}

size_t EndOfLastCharacterOf(std::string_view text, std::string_view any, LeadByteTest lead) {
  size_t end = 0;
  for (size_t at = 0; at < text.size();) {
    const size_t length = CharacterLength(text, at, lead);
    if (length == 1 && any.find(text[at]) != std::string_view::npos) end = at + 1;
    at += length;
  }
  return end;
}

}  // namespace tremblix
