// An in-memory stand-in for the private-profile functions, behaving as the
// platform's do where the settings code relies on it.
#pragma once

#include <algorithm>
#include <cstring>
#include <iterator>
#include <map>
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
    if (writes_left > 0) --writes_left;
    writes.push_back({section, key, value, file});
    values_[Id(file, section, key)] = value;
    ini_files.insert(file);
    return true;
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
    return files.count(path) > 0;
  }

  LeadByteTest LeadBytes() override { return lead; }

  void Set(const std::wstring& file, const std::string& key, const std::string& value,
           const std::string& section = kIniSection) {
    values_[Id(file, section, key)] = value;
    ini_files.insert(file);
  }

  LeadByteTest lead = &Cp932LeadByte;  // our users' code page
  std::set<std::string> files;  // paths that open
  std::vector<std::string> opened;
  std::vector<Write> writes;
  std::set<std::wstring> ini_files;  // files that exist
  std::set<std::wstring> refused;    // files that cannot be written
  int writes_left = -1;              // profile writes that succeed; -1 all
  bool can_put_in_place = true;

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
  void Drop(const std::wstring& file) {
    for (auto it = values_.begin(); it != values_.end();) {
      it = it->first.first == file ? values_.erase(it) : std::next(it);
    }
    ini_files.erase(file);
  }
  std::map<std::pair<std::wstring, std::string>, std::string> values_;
};

}  // namespace tremblix
