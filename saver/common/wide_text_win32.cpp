#include "saver/common/wide_text_win32.h"

#include <windows.h>

namespace tremblix {

namespace {

// UTF-8 takes no flags here; every other code page is told not to guess.
DWORD NarrowFlags(unsigned code_page) {
  return code_page == CP_UTF8 || code_page == CP_UTF7 ? 0 : WC_NO_BEST_FIT_CHARS;
}

}  // namespace

std::wstring Wide(const std::string& text, unsigned code_page) {
  const int size =
      MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(size > 0 ? size : 0, L'\0');
  if (size > 0) {
    MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        size);
  }
  return wide;
}

std::string Narrow(const std::wstring& text, unsigned code_page) {
  const DWORD flags = NarrowFlags(code_page);
  const int size = WideCharToMultiByte(code_page, flags, text.data(),
                                       static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string narrow(size > 0 ? size : 0, '\0');
  if (size > 0) {
    WideCharToMultiByte(code_page, flags, text.data(), static_cast<int>(text.size()),
                        narrow.data(), size, nullptr, nullptr);
  }
  return narrow;
}

std::optional<std::string> NarrowExactly(const std::wstring& text, unsigned code_page) {
  std::string narrow = Narrow(text, code_page);
  // Whatever the code page's default character, a text that does not come
  // back the same was not spelt.
  if (Wide(narrow, code_page) != text) return std::nullopt;
  return narrow;
}

}  // namespace tremblix
