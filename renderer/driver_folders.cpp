#include "renderer/driver_folders.h"

#include <algorithm>

namespace tremblix {

namespace {

wchar_t Folded(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; }

bool SameText(const std::wstring& a, const std::wstring& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](wchar_t x, wchar_t y) { return Folded(x) == Folded(y); });
}

// "X:\a\b" with every part a plain name: no "." or "..", no 8.3 name (a
// "~"), no stream (":"), no part Windows would trim (a trailing dot or
// blank), no forward slash. Anything else is refused rather than resolved.
bool IsPlainPath(const std::wstring& path) {
  if (path.size() < 4 || path[1] != L':' || path[2] != L'\\' ||
      Folded(path[0]) < L'a' || Folded(path[0]) > L'z') {
    return false;
  }
  size_t start = 3;
  while (start <= path.size()) {
    size_t end = path.find(L'\\', start);
    if (end == std::wstring::npos) end = path.size();
    const std::wstring part = path.substr(start, end - start);
    // A part ending in a dot is refused, "." and ".." among them.
    if (part.empty() || part.back() == L'.' || part.back() == L' ' ||
        part.find_first_of(L"~:/") != std::wstring::npos ||
        part.find(L'\0') != std::wstring::npos) {
      return false;
    }
    start = end + 1;
  }
  return true;
}

bool IsBareName(const std::wstring& name) {
  return name.find_first_of(L"\\/:") == std::wstring::npos;
}

// "X:\...": a relative path would be resolved from the current folder.
bool IsAbsolute(const std::wstring& path) {
  return path.size() > 3 && path[1] == L':' && path[2] == L'\\';
}

// The strings of a REG_MULTI_SZ (a REG_SZ is one), empty ones left out.
std::vector<std::wstring> StringsOf(const std::wstring& value) {
  std::vector<std::wstring> strings;
  size_t start = 0;
  while (start < value.size()) {
    size_t end = value.find(L'\0', start);
    if (end == std::wstring::npos) end = value.size();
    if (end > start) strings.push_back(value.substr(start, end - start));
    start = end + 1;
  }
  return strings;
}

}  // namespace

std::vector<std::wstring> DriverFoldersToAdd(const std::wstring& system_folder,
                                             const std::vector<std::wstring>& values,
                                             const CanonicalPath& canonical) {
  std::vector<std::wstring> folders;
  if (!IsPlainPath(system_folder)) return folders;
  const std::wstring store = system_folder + L"\\DriverStore\\FileRepository\\";
  for (const std::wstring& value : values) {
    for (const std::wstring& driver : StringsOf(value)) {
      if (IsBareName(driver) || !IsAbsolute(driver)) continue;
      const std::optional<std::wstring> path = canonical(driver);
      if (!path || !IsPlainPath(*path)) continue;
      const size_t slash = path->rfind(L'\\');
      const std::wstring folder = path->substr(0, slash);
      // A folder of its own below the store, never the store itself.
      if (folder.size() <= store.size() || !SameText(folder.substr(0, store.size()), store)) {
        continue;
      }
      const bool known = std::any_of(folders.begin(), folders.end(),
                                     [&](const std::wstring& f) { return SameText(f, folder); });
      if (!known) folders.push_back(folder);
    }
  }
  return folders;
}

}  // namespace tremblix
