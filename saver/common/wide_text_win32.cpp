#include "saver/common/wide_text_win32.h"

#include <windows.h>

namespace tremblix {

namespace {

// Before any conversion: the flags a code page takes depend on which it is.
UINT Resolved(unsigned code_page) { return code_page == CP_ACP ? GetACP() : code_page; }

// UTF-7 and UTF-8 refuse WC_NO_BEST_FIT_CHARS and a default character (the
// call fails); every other code page is told not to guess.
bool IsUtf(UINT code_page) { return code_page == CP_UTF8 || code_page == CP_UTF7; }

// The conversion into narrowed, which is empty when it fails; used_default
// (nullptr for UTF-7 and UTF-8) tells whether a character was not spelt.
void NarrowInto(const std::wstring& text, UINT code_page, DWORD flags, BOOL* used_default,
                std::string& narrowed) {
  narrowed.clear();
  const int length = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(code_page, flags, text.data(), length, nullptr, 0, nullptr,
                                       used_default);
  if (size <= 0) return;
  narrowed.assign(size, '\0');
  if (WideCharToMultiByte(code_page, flags, text.data(), length, narrowed.data(), size, nullptr,
                          used_default) != size) {
    narrowed.clear();
  }
}

}  // namespace

std::wstring Wide(const std::string& text, unsigned code_page) {
  const UINT page = Resolved(code_page);
  const int size =
      MultiByteToWideChar(page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(size > 0 ? size : 0, L'\0');
  if (size > 0) {
    MultiByteToWideChar(page, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  }
  return wide;
}

std::string Narrow(const std::wstring& text, unsigned code_page) {
  const UINT page = Resolved(code_page);
  std::string narrowed;
  NarrowInto(text, page, IsUtf(page) ? 0 : WC_NO_BEST_FIT_CHARS, nullptr, narrowed);
  return narrowed;
}

std::optional<std::string> NarrowExactly(const std::wstring& text, unsigned code_page) {
  const UINT page = Resolved(code_page);
  if (text.empty()) return std::string();
  std::string narrowed;
  BOOL used_default = FALSE;
  if (IsUtf(page)) {
    // A lone surrogate, the only thing UTF-8 cannot spell, comes back as
    // U+FFFD (WC_ERR_INVALID_CHARS would say so, but not before Vista).
    NarrowInto(text, page, 0, nullptr, narrowed);
    if (Wide(narrowed, page) != text) return std::nullopt;
  } else {
    // Without look-alikes a character the code page lacks is its default
    // character, and that is what the call reports.
    NarrowInto(text, page, WC_NO_BEST_FIT_CHARS, &used_default, narrowed);
  }
  if (narrowed.empty() || used_default) return std::nullopt;
  return narrowed;
}

std::optional<std::wstring> WideExactly(const std::string& text, unsigned code_page) {
  const UINT page = Resolved(code_page);
  if (text.empty()) return std::wstring();
  const int length = static_cast<int>(text.size());
  const int size = MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
  if (size <= 0) return std::nullopt;
  std::wstring wide(size, L'\0');
  if (MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, text.data(), length, wide.data(), size) !=
      size) {
    return std::nullopt;
  }
  // Two byte sequences may stand for one character; only the one the
  // code page writes back is carried unchanged.
  if (NarrowExactly(wide, page) != text) return std::nullopt;
  return wide;
}

}  // namespace tremblix
