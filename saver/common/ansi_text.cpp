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

bool IsUtf8(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    const uint8_t first = static_cast<uint8_t>(text[at]);
    size_t length = 1;
    uint32_t code = first;
    if (first >= 0xF0 && first <= 0xF4) {
      length = 4, code = first & 0x07;
    } else if (first >= 0xE0 && first <= 0xEF) {
      length = 3, code = first & 0x0F;
    } else if (first >= 0xC2 && first <= 0xDF) {
      length = 2, code = first & 0x1F;
    } else if (first >= 0x80) {
      return false;
    }
    if (at + length > text.size()) return false;
    for (size_t i = 1; i < length; ++i) {
      const uint8_t next = static_cast<uint8_t>(text[at + i]);
      if ((next & 0xC0) != 0x80) return false;
      code = code << 6 | (next & 0x3F);
    }
    // The shortest form only, and no surrogate or code past Unicode's end.
    if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
        (code >= 0xD800 && code <= 0xDFFF)) {
      return false;
    }
    at += length;
  }
  return true;
}

}  // namespace tremblix
