// Text between a code page's bytes and Windows' wide characters.
#pragma once

#include <optional>
#include <string>

namespace tremblix {

// code_page is CP_ACP, CP_UTF8 or a code page number. Narrow never uses
// best-fit look-alikes: a character the code page lacks becomes its default
// character, never another one (under 932 a ¥ would otherwise become the
// backslash byte).
std::wstring Wide(const std::string& text, unsigned code_page);
std::string Narrow(const std::wstring& text, unsigned code_page);

// The text in the code page when it spells every character exactly, so that
// it reads back the same; nothing otherwise.
std::optional<std::string> NarrowExactly(const std::wstring& text, unsigned code_page);

}  // namespace tremblix
