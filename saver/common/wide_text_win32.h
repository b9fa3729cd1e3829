// Text between a code page's bytes and Windows' wide characters.
#pragma once

#include <optional>
#include <string>

namespace tremblix {

// code_page is CP_ACP, CP_UTF8 or a code page number; CP_ACP is the system's
// ANSI code page as GetACP() tells it, 65001 on a system that uses UTF-8.
// Narrow never uses best-fit look-alikes: a character the code page lacks
// becomes its default character, never another one (under 932 a ¥ would
// otherwise become the backslash byte).
std::wstring Wide(const std::string& text, unsigned code_page);
std::string Narrow(const std::wstring& text, unsigned code_page);

// The text in the code page when it spells every character exactly, so that
// it reads back the same; nothing otherwise, or where the conversion fails.
std::optional<std::string> NarrowExactly(const std::wstring& text, unsigned code_page);
// The bytes as wide text when they are well formed in the code page and come
// back as the same bytes; nothing otherwise.
std::optional<std::wstring> WideExactly(const std::string& text, unsigned code_page);

}  // namespace tremblix
