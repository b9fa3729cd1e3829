#include "saver/common/wide_text.h"

namespace tremblix {

namespace {

// Before any conversion: the flags a code page takes depend on which it is,
// and the system's may be UTF-8.
unsigned Resolved(CodePageCalls& calls, unsigned code_page) {
  return code_page == kAnsiCodePage ? calls.AnsiCodePage() : code_page;
}

// UTF-7 and UTF-8 refuse WC_NO_BEST_FIT_CHARS and a used-default report (the
// call fails); every other code page is told not to guess.
bool IsUtf(unsigned code_page) {
  return code_page == kUtf8CodePage || code_page == kUtf7CodePage;
}

// UTF-7 takes no flag at all here either.
uint32_t WideningFlags(unsigned code_page) {
  return code_page == kUtf7CodePage ? 0 : kErrorOnInvalidChars;
}

// The conversion into narrowed, which is empty when it fails; used_default
// (nullptr for UTF-7 and UTF-8) tells whether a character was not spelt.
void NarrowInto(CodePageCalls& calls, const std::wstring& text, unsigned code_page,
                bool* used_default, std::string& narrowed) {
  narrowed.clear();
  const uint32_t flags = IsUtf(code_page) ? 0 : kNoBestFitChars;
  const int length = static_cast<int>(text.size());
  const int size = calls.ToNarrow(code_page, flags, text.data(), length, nullptr, 0, used_default);
  if (size <= 0) return;
  narrowed.assign(size, '\0');
  if (calls.ToNarrow(code_page, flags, text.data(), length, narrowed.data(), size, used_default) !=
      size) {
    narrowed.clear();
  }
}

}  // namespace

std::wstring Wide(CodePageCalls& calls, const std::string& text, unsigned code_page) {
  const unsigned page = Resolved(calls, code_page);
  const int length = static_cast<int>(text.size());
  const int size = calls.ToWide(page, 0, text.data(), length, nullptr, 0);
  std::wstring wide(size > 0 ? size : 0, L'\0');
  if (size > 0 && calls.ToWide(page, 0, text.data(), length, wide.data(), size) != size) {
    wide.clear();
  }
  return wide;
}

std::string Narrow(CodePageCalls& calls, const std::wstring& text, unsigned code_page) {
  std::string narrowed;
  NarrowInto(calls, text, Resolved(calls, code_page), nullptr, narrowed);
  return narrowed;
}

std::optional<std::string> NarrowExactly(CodePageCalls& calls, const std::wstring& text,
                                         unsigned code_page) {
  const unsigned page = Resolved(calls, code_page);
  if (text.empty()) return std::string();
  std::string narrowed;
  bool used_default = false;
  if (IsUtf(page)) {
    // A lone surrogate, the only thing UTF-8 cannot spell, comes back as
    // U+FFFD (WC_ERR_INVALID_CHARS would say so, but not before Vista).
    NarrowInto(calls, text, page, nullptr, narrowed);
    if (Wide(calls, narrowed, page) != text) return std::nullopt;
  } else {
    // Without look-alikes a character the code page lacks is its default
    // character, and that is what the call reports.
    NarrowInto(calls, text, page, &used_default, narrowed);
  }
  if (narrowed.empty() || used_default) return std::nullopt;
  return narrowed;
}

std::optional<std::wstring> WideExactly(CodePageCalls& calls, const std::string& text,
                                        unsigned code_page) {
  const unsigned page = Resolved(calls, code_page);
  if (text.empty()) return std::wstring();
  const uint32_t flags = WideningFlags(page);
  const int length = static_cast<int>(text.size());
  const int size = calls.ToWide(page, flags, text.data(), length, nullptr, 0);
  if (size <= 0) return std::nullopt;
  std::wstring wide(size, L'\0');
  if (calls.ToWide(page, flags, text.data(), length, wide.data(), size) != size) {
    return std::nullopt;
  }
  // Two byte sequences may stand for one character; only the one the
  // code page writes back is carried unchanged.
  if (NarrowExactly(calls, wide, page) != text) return std::nullopt;
  return wide;
}

}  // namespace tremblix
