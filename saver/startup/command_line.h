// What the screen-saver program reads from its argument text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tremblix {

// The second character upper-cased ("S", "P", "C", ...); the first, normally a
// slash or a hyphen, is never looked at. Empty for a text shorter than two.
std::string SwitchLetter(std::string_view args);

// The preview host's window handle: the text from its fourth character on,
// read as a leading decimal number; 0 when there is none or it does not fit.
int32_t HostHandle(std::string_view args);

}  // namespace tremblix
