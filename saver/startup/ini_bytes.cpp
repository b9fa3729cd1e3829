#include "saver/startup/ini_bytes.h"

namespace tremblix {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool Blank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && Blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && Blank(text.back())) text.remove_suffix(1);
  return text;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// Where the text begins, past any UTF-8 marks.
size_t TextStart(std::string_view bytes) {
  size_t start = 0;
  while (bytes.substr(start, kUtf8Mark.size()) == kUtf8Mark) start += kUtf8Mark.size();
  return start;
}

// Calls found(begin, end, value) for each line of the key in a section of
// that name, begin and end spanning the line with its line break, until
// found returns false.
template <typename Found>
void ForEachLineOf(std::string_view bytes, std::string_view section, std::string_view key,
                   Found found) {
  bool in_section = false;
  size_t begin = TextStart(bytes);
  while (begin < bytes.size()) {
    const size_t newline = bytes.find('\n', begin);
    const size_t end = newline == std::string_view::npos ? bytes.size() : newline + 1;
    const std::string_view line = Trimmed(bytes.substr(begin, end - begin));
    const size_t close = line.rfind(']');
    if (!line.empty() && line.front() == '[' && close != std::string_view::npos) {
      in_section = SameName(line.substr(1, close - 1), section);
    } else if (in_section && !line.empty()) {
      // A line without an equals sign is a key with no value.
      const size_t equals = line.find('=');
      if (SameName(Trimmed(line.substr(0, equals)), key)) {
        const std::string_view value =
            equals == std::string_view::npos ? std::string_view() : line.substr(equals + 1);
        if (!found(begin, end, Unquoted(Trimmed(value)))) return;
      }
    }
    begin = end;
  }
}

}  // namespace

std::optional<std::string_view> IniValue(std::string_view bytes, std::string_view section,
                                         std::string_view key) {
  std::optional<std::string_view> value;
  ForEachLineOf(bytes, section, key, [&](size_t, size_t, std::string_view found) {
    value = found;
    return false;
  });
  return value;
}

std::string IniWithoutKey(std::string_view bytes, std::string_view section, std::string_view key) {
  std::string kept;
  size_t from = TextStart(bytes);
  ForEachLineOf(bytes, section, key, [&](size_t begin, size_t end, std::string_view) {
    kept.append(bytes.substr(from, begin - from));
    from = end;
    return true;
  });
  kept.append(bytes.substr(from));
  return kept;
}

}  // namespace tremblix
