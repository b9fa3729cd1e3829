// The stored property record of a control instance: named, typed entries in
// the order they were written. An entry equal to its default is left out on
// writing; a missing entry, or one of another type, reads as the default.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace tremblix {

// A font object as a control keeps it.
struct FontSpec {
  std::string name;  // UTF-8
  double size = 0;   // points
  int16_t weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  uint8_t charset = 0;

  bool operator==(const FontSpec& o) const {
    return name == o.name && size == o.size && weight == o.weight && italic == o.italic &&
           underline == o.underline && strikethrough == o.strikethrough && charset == o.charset;
  }
  bool operator!=(const FontSpec& o) const { return !(*this == o); }
};

using PropertyValue = std::variant<bool, uint8_t, int16_t, int32_t, std::string, FontSpec>;

class PropertyRecord {
 public:
  template <typename T>
  T Read(std::string_view name, const T& fallback) const {
    for (const auto& [key, value] : entries_) {
      if (key != name) continue;
      if (const T* typed = std::get_if<T>(&value)) return *typed;
      return fallback;
    }
    return fallback;
  }

  template <typename T>
  void Write(std::string_view name, const T& value, const T& fallback) {
    if (value == fallback) {
      Remove(name);
      return;
    }
    Set(name, PropertyValue(std::in_place_type<T>, value));
  }

  void Set(std::string_view name, PropertyValue value);
  void Remove(std::string_view name);
  bool Has(std::string_view name) const;
  std::vector<std::string> Names() const;

 private:
  std::vector<std::pair<std::string, PropertyValue>> entries_;
};

}  // namespace tremblix
