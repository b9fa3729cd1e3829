// Text in the system's ANSI code page, read by characters. In a double-byte
// code page such as 932 a character's second byte can be any byte from 0x40
// up, the backslash 0x5C among them (ソ is 83 5C, 表 95 5C, 能 94 5C), so a
// path is cut or tested only where a whole character stands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tremblix {

// Whether a byte opens a two-byte character of the code page.
using LeadByteTest = bool (*)(uint8_t byte);

// A single-byte code page such as 1252.
bool NoLeadBytes(uint8_t byte);
// Code page 932 (Japanese).
bool Cp932LeadByte(uint8_t byte);

// The last `count` characters of the text, at most 8 (all of it when it is
// shorter).
// A lead byte at the very end, with no byte after it, is a character alone.
std::string_view LastCharacters(std::string_view text, size_t count, LeadByteTest lead);

// The number of bytes up to and including the last character that is one of
// the single-byte characters in `any`; 0 when there is none.
size_t EndOfLastCharacterOf(std::string_view text, std::string_view any, LeadByteTest lead);

// Whether the text is well-formed UTF-8 (no overlong form, no surrogate,
// nothing past U+10FFFF): the code page of a system that uses UTF-8 for its
// ANSI text, and of every name we keep.
bool IsUtf8(std::string_view text);

}  // namespace tremblix
