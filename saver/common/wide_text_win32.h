// Text between a code page's bytes and Windows' wide characters.
#pragma once

#include <string>

namespace tremblix {

// code_page is CP_ACP, CP_UTF8 or a code page number.
std::wstring Wide(const std::string& text, unsigned code_page);
std::string Narrow(const std::wstring& text, unsigned code_page);

}  // namespace tremblix
