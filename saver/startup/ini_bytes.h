// A settings file's own bytes, read and changed as the platform's profile
// functions read them: a line "[name]" opens a section, a line "key=value"
// holds a value; names match without regard to the case of ASCII letters,
// blanks around names and values do not count, and quotes around a whole
// value are dropped. No code page is assumed: names and values are the
// file's bytes, so that a key is found in any spelling, whatever the code
// page would make of it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tremblix {

// The value of the section's first line of the key; nothing when no section
// of that name holds the key.
std::optional<std::string_view> IniValue(std::string_view bytes, std::string_view section,
                                         std::string_view key);

// The bytes without any line of the key in a section of that name, and
// without a UTF-8 mark at the start (an editor's): we read past it, the
// platform's profile functions do not, and would miss the section behind it
// and write a second one. Every other byte stays as it was.
std::string IniWithoutKey(std::string_view bytes, std::string_view section, std::string_view key);

}  // namespace tremblix
