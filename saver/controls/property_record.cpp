#include "saver/controls/property_record.h"

#include <algorithm>

namespace tremblix {

void PropertyRecord::Set(std::string_view name, PropertyValue value) {
  for (auto& entry : entries_) {
    if (entry.first == name) {
      entry.second = std::move(value);
      return;
    }
  }
  entries_.emplace_back(std::string(name), std::move(value));
}

void PropertyRecord::Remove(std::string_view name) {
  entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                [name](const auto& entry) { return entry.first == name; }),
                 entries_.end());
}

bool PropertyRecord::Has(std::string_view name) const {
  return std::any_of(entries_.begin(), entries_.end(),
                     [name](const auto& entry) { return entry.first == name; });
}

std::vector<std::string> PropertyRecord::Names() const {
  std::vector<std::string> names;
  for (const auto& entry : entries_) names.push_back(entry.first);
  return names;
}

}  // namespace tremblix
