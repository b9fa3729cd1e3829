// Text between a code page's bytes and Windows' wide characters, converted by
// Windows under the rules of wide_text.h.
#pragma once

#include <optional>
#include <string>

#include "saver/common/wide_text.h"

namespace tremblix {

// MultiByteToWideChar, WideCharToMultiByte and GetACP themselves.
CodePageCalls& PlatformCodePages();

// As in wide_text.h, converted by Windows; code_page is CP_ACP, CP_UTF8 or a
// code page number.
std::wstring Wide(const std::string& text, unsigned code_page);
std::string Narrow(const std::wstring& text, unsigned code_page);
std::optional<std::string> NarrowExactly(const std::wstring& text, unsigned code_page);
std::optional<std::wstring> WideExactly(const std::string& text, unsigned code_page);

}  // namespace tremblix
