// Text between a code page's bytes and wide characters: which flags each
// code page takes, and what counts as spelt exactly. The conversions
// themselves are Windows' (wide_text_win32), behind calls a test replaces.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tremblix {

// Windows' numbers for them (CP_ACP, CP_UTF7, CP_UTF8, WC_NO_BEST_FIT_CHARS,
// MB_ERR_INVALID_CHARS).
inline constexpr unsigned kAnsiCodePage = 0;
inline constexpr unsigned kUtf7CodePage = 65000;
inline constexpr unsigned kUtf8CodePage = 65001;  // also a system's ANSI code page
inline constexpr uint32_t kNoBestFitChars = 0x400;
inline constexpr uint32_t kErrorOnInvalidChars = 0x8;

// MultiByteToWideChar, WideCharToMultiByte (no default character of our
// own; used_default nullptr or not) and GetACP. Each answers as Windows
// does: the units written, or needed when size is 0; 0 when it fails.
class CodePageCalls {
 public:
  virtual ~CodePageCalls() = default;
  virtual unsigned AnsiCodePage() = 0;
  virtual int ToWide(unsigned code_page, uint32_t flags, const char* text, int length,
                     wchar_t* wide, int size) = 0;
  virtual int ToNarrow(unsigned code_page, uint32_t flags, const wchar_t* text, int length,
                       char* narrow, int size, bool* used_default) = 0;
};

// code_page is kAnsiCodePage (the system's, 65001 on a system that uses
// UTF-8) or a code page's number. Narrow never uses best-fit look-alikes: a
// character the code page lacks becomes its default character, never another
// one (under 932 a ¥ would otherwise become the backslash byte).
std::wstring Wide(CodePageCalls& calls, const std::string& text, unsigned code_page);
std::string Narrow(CodePageCalls& calls, const std::wstring& text, unsigned code_page);

// The text in the code page when it spells every character exactly, so that
// it reads back the same; nothing otherwise, or where the conversion fails.
std::optional<std::string> NarrowExactly(CodePageCalls& calls, const std::wstring& text,
                                         unsigned code_page);
// The bytes as wide text when they are well formed in the code page and come
// back as the same bytes; nothing otherwise.
std::optional<std::wstring> WideExactly(CodePageCalls& calls, const std::string& text,
                                        unsigned code_page);

}  // namespace tremblix
