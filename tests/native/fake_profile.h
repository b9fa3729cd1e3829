// An in-memory stand-in for the private-profile functions, behaving as the
// platform's do where the settings code relies on it.
#pragma once

#include <algorithm>
#include <cstring>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "saver/startup/settings_file.h"

namespace tremblix {

class FakeProfile : public ProfileApi {
 public:
  struct Write {
    std::string section, key, value;
    std::wstring file;
    bool operator==(const Write& other) const {
      return section == other.section && key == other.key && value == other.value &&
             file == other.file;
    }
  };

  uint32_t ProfileRead(const std::string& section, const std::string& key,
                       const std::string& fallback, char* buffer, uint32_t size,
                       const std::wstring& file) override {
    std::string value = fallback;
    auto found = values_.find(Id(file, section, key));
    if (found != values_.end()) value = found->second;
    size_t length = std::min<size_t>(value.size(), size - 1);
    std::memcpy(buffer, value.data(), length);
    buffer[length] = '\0';
    return static_cast<uint32_t>(length);
  }

  bool ProfileWrite(const std::string& section, const std::string& key, const std::string& value,
                    const std::wstring& file) override {
    if (refused.count(file) || writes_left == 0) return false;
    // Under UTF-8 the platform cannot carry other bytes.
    if (code_page == kUtf8CodePage && !IsUtf8(section + key + value)) return false;
    // As the real one turns names and value into wide text, where asked to.
    if (conversions && !WideExactly(*conversions, section + key + value, kAnsiCodePage)) return false;
    if (writes_left > 0) --writes_left;
    writes.push_back({section, key, value, file});
    values_[Id(file, section, key)] = value;
    ini_files.insert(file);
    return true;
  }

  bool ProfileDelete(const std::string& section, const std::string& key,
                     const std::wstring& file) override {
    if (refused.count(file)) return false;
    deletes.push_back({section, key, "", file});
    values_.erase(Id(file, section, key));
    return true;
  }

  unsigned AnsiCodePage() override { return code_page; }
  unsigned LanguageCodePage() override { return language_code_page; }
  uint16_t SystemLanguage() override { return system_language; }

  std::optional<std::string> ToCodePage(const std::string& utf8, unsigned to) override {
    if (to == kUtf8CodePage) return IsUtf8(utf8) ? std::optional<std::string>(utf8) : std::nullopt;
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
      if (static_cast<unsigned char>(utf8[i]) < 0x80) {
        out += utf8[i++];
        continue;
      }
      const Spelling* found = nullptr;
      for (const Spelling& s : Spellings(to)) {
        if (utf8.compare(i, s.utf8.size(), s.utf8) == 0) found = &s;
      }
      if (!found) return std::nullopt;
      out += found->ansi;
      i += found->utf8.size();
    }
    return out;
  }

  std::string FromCodePage(const std::string& ansi, unsigned from) override {
    // Bytes UTF-8 cannot read are U+FFFD.
    if (from == kUtf8CodePage) return IsUtf8(ansi) ? ansi : "\xEF\xBF\xBD";
    std::string out;
    for (size_t i = 0; i < ansi.size();) {
      const Spelling* found = nullptr;
      for (const Spelling& s : Spellings(from)) {
        if (ansi.compare(i, s.ansi.size(), s.ansi) == 0) found = &s;
      }
      if (found) {
        out += found->utf8;
        i += found->ansi.size();
      } else {
        // A byte the table lacks stands for itself, as a Latin-1 character.
        const unsigned char c = static_cast<unsigned char>(ansi[i++]);
        if (c < 0x80) {
          out += static_cast<char>(c);
        } else {
          out += static_cast<char>(0xC0 | c >> 6);
          out += static_cast<char>(0x80 | (c & 0x3F));
        }
      }
    }
    return out;
  }

  std::optional<std::string> ShortPath(const std::string& utf8) override {
    auto found = short_paths.find(utf8);
    if (found == short_paths.end()) return std::nullopt;
    return found->second;
  }

  bool FileThere(const std::wstring& path) override { return ini_files.count(path) > 0; }

  bool CopyWhole(const std::wstring& from, const std::wstring& to) override {
    if (!ini_files.count(from) || refused.count(to)) return false;
    Drop(to);
    std::map<std::pair<std::wstring, std::string>, std::string> copied;
    for (const auto& [id, value] : values_) {
      if (id.first == from) copied[{to, id.second}] = value;
    }
    values_.insert(copied.begin(), copied.end());
    ini_files.insert(to);
    return true;
  }

  bool PutInPlace(const std::wstring& from, const std::wstring& to) override {
    if (!ini_files.count(from) || refused.count(to) || !can_put_in_place) return false;
    Drop(to);
    std::map<std::pair<std::wstring, std::string>, std::string> moved;
    for (const auto& [id, value] : values_) {
      if (id.first == from) moved[{to, id.second}] = value;
    }
    Drop(from);
    values_.insert(moved.begin(), moved.end());
    ini_files.insert(to);
    return true;
  }

  void Remove(const std::wstring& path) override { Drop(path); }

  // The values a file holds, key by key (lower case).
  std::map<std::string, std::string> ValuesOf(const std::wstring& file) const {
    std::map<std::string, std::string> found;
    for (const auto& [id, value] : values_) {
      if (id.first == file) found[id.second] = value;
    }
    return found;
  }

  bool CanOpenForReading(const std::string& path) override {
    opened.push_back(path);
    return every_file_opens || files.count(path) > 0;
  }

  LeadByteTest LeadBytes() override {
    return code_page == kJapaneseCodePage ? &Cp932LeadByte : &NoLeadBytes;
  }

  void Set(const std::wstring& file, const std::string& key, const std::string& value,
           const std::string& section = kIniSection) {
    values_[Id(file, section, key)] = value;
    ini_files.insert(file);
  }

  unsigned code_page = kJapaneseCodePage;  // our users'
  unsigned language_code_page = kJapaneseCodePage;
  uint16_t system_language = 0x0411;  // ja-JP
  std::map<std::string, std::string> short_paths;  // UTF-8 path to its 8.3 form
  std::vector<Write> deletes;
  std::set<std::string> files;  // paths that open (UTF-8)
  bool every_file_opens = false;
  std::vector<std::string> opened;
  std::vector<Write> writes;
  std::set<std::wstring> ini_files;  // files that exist
  std::set<std::wstring> refused;    // files that cannot be written
  int writes_left = -1;              // profile writes that succeed; -1 all
  bool can_put_in_place = true;
  CodePageCalls* conversions = nullptr;

 private:
  // Section and key names match without regard to case.
  static std::pair<std::wstring, std::string> Id(const std::wstring& file,
                                                 const std::string& section,
                                                 const std::string& key) {
    std::string id = section + '\n' + key;
    std::transform(id.begin(), id.end(), id.begin(),
                   [](unsigned char c) { return c < 0x80 ? std::tolower(c) : c; });
    return {file, id};
  }
  // The characters the tests spell beyond ASCII, as 932 or 1252 spells
  // them; any other is one it lacks (〜 U+301C and ¥ under 932, é as well).
  struct Spelling {
    std::string utf8, ansi;
  };
  static const std::vector<Spelling>& Spellings(unsigned code_page) {
    static const std::vector<Spelling> cp932 = {
        {"音", "\x89\xB9"}, {"楽", "\x8A\x79"}, {"曲", "\x8B\xC8"}, {"ソ", "\x83\x5C"},
        {"ン", "\x83\x93"}, {"グ", "\x83\x4F"}, {"表", "\x95\x5C"}, {"能", "\x94\x5C"},
        {"～", "\x81\x60"}, {"☆", "\x81\x99"}};
    static const std::vector<Spelling> cp1252 = {
        {"é", "\xE9"}, {"ú", "\xFA"}, {"¥", "\xA5"}, {"€", "\x80"}};
    return code_page == kJapaneseCodePage ? cp932 : cp1252;
  }
  void Drop(const std::wstring& file) {
    for (auto it = values_.begin(); it != values_.end();) {
      it = it->first.first == file ? values_.erase(it) : std::next(it);
    }
    ini_files.erase(file);
  }
  std::map<std::pair<std::wstring, std::string>, std::string> values_;
};

}  // namespace tremblix
