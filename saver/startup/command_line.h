// What the screen-saver program reads from its argument text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tremblix {

// The second character upper-cased ("S", "P", "C", ...); the first, normally a
// slash or a hyphen, is never looked at. Empty for a text shorter than two.
std::string SwitchLetter(std::string_view args);

// The window handle after /p or /c ("/p 1234", "/c:1234", "/c 1234"): the text
// from its fourth character on, leading blanks skipped, read as an unsigned
// decimal (a minus sign in front is taken too). As Windows does, only the low
// 32 bits are kept; read as a signed number they widen to a handle in either
// edition. 0 when there is no number.
int32_t HostHandle(std::string_view args);

}  // namespace tremblix
