// An in-memory stand-in for the private-profile functions, behaving as the
// platform's do where the settings code relies on it.
#pragma once

#include <algorithm>
#include <cstring>
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
    writes.push_back({section, key, value, file});
    values_[Id(file, section, key)] = value;
    return true;
  }

  bool CanOpenForReading(const std::string& path) override {
    opened.push_back(path);
    return files.count(path) > 0;
  }

  LeadByteTest LeadBytes() override { return lead; }

  void Set(const std::wstring& file, const std::string& key, const std::string& value) {
    values_[Id(file, kIniSection, key)] = value;
  }

  LeadByteTest lead = &Cp932LeadByte;  // our users' code page
  std::set<std::string> files;  // paths that open
  std::vector<std::string> opened;
  std::vector<Write> writes;

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
  std::map<std::pair<std::wstring, std::string>, std::string> values_;
};

}  // namespace tremblix
