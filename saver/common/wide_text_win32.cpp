#include "saver/common/wide_text_win32.h"

#include <windows.h>

namespace tremblix {

static_assert(kAnsiCodePage == CP_ACP && kUtf7CodePage == CP_UTF7 && kUtf8CodePage == CP_UTF8);
static_assert(kNoBestFitChars == WC_NO_BEST_FIT_CHARS &&
              kErrorOnInvalidChars == MB_ERR_INVALID_CHARS);

namespace {

class Win32CodePages : public CodePageCalls {
 public:
  unsigned AnsiCodePage() override { return GetACP(); }
  int ToWide(unsigned code_page, uint32_t flags, const char* text, int length, wchar_t* wide,
             int size) override {
    return MultiByteToWideChar(code_page, flags, text, length, wide, size);
  }
  int ToNarrow(unsigned code_page, uint32_t flags, const wchar_t* text, int length, char* narrow,
               int size, bool* used_default) override {
    BOOL used = FALSE;
    const int result = WideCharToMultiByte(code_page, flags, text, length, narrow, size, nullptr,
                                           used_default ? &used : nullptr);
    if (used_default) *used_default = used != FALSE;
    return result;
  }
};

}  // namespace

CodePageCalls& PlatformCodePages() {
  static Win32CodePages calls;
  return calls;
}

std::wstring Wide(const std::string& text, unsigned code_page) {
  return Wide(PlatformCodePages(), text, code_page);
}

std::string Narrow(const std::wstring& text, unsigned code_page) {
  return Narrow(PlatformCodePages(), text, code_page);
}

std::optional<std::string> NarrowExactly(const std::wstring& text, unsigned code_page) {
  return NarrowExactly(PlatformCodePages(), text, code_page);
}

std::optional<std::wstring> WideExactly(const std::string& text, unsigned code_page) {
  return WideExactly(PlatformCodePages(), text, code_page);
}

}  // namespace tremblix
