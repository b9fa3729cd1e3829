#include "renderer/driver_folders.h"

#include <gtest/gtest.h>

namespace tremblix {
namespace {

const std::wstring kStore = L"C:\\Windows\\System32\\DriverStore\\FileRepository";
const std::wstring kNul(1, L'\0');

// Windows' resolving, played: one 8.3 name, a relative path, a file not there.
std::optional<std::wstring> Resolve(const std::wstring& path) {
  if (path == L"C:\\Windows\\System32\\DRIVER~1\\FILERE~1\\nv.inf\\x.dll" || path == L"nv.inf\\x.dll") return kStore + L"\\nv.inf\\x.dll";
  if (path.find(L"gone") != std::wstring::npos) return std::nullopt;
  return path;
}

TEST(DriverFoldersToAdd, OnlyFoldersBelowTheDriverStore) {
  const std::wstring lower = L"c:\\WINDOWS\\system32\\driverstore\\FILEREPOSITORY\\u.inf";
  const struct { std::wstring value; std::vector<std::wstring> folders; } rows[] = {
      {kStore + L"\\nv.inf\\nvoglv64.dll", {kStore + L"\\nv.inf"}},
      {lower + L"\\x.dll", {lower}},
      {L"C:\\Windows\\System32\\DRIVER~1\\FILERE~1\\nv.inf\\x.dll", {kStore + L"\\nv.inf"}},
      // Strings of a REG_MULTI_SZ, an empty one among them, a folder twice.
      {kStore + L"\\a.inf\\x.dll" + kNul + kNul + kStore + L"\\A.INF\\y.dll" + kNul + kStore + L"\\i.inf\\z.dll" + kNul + kNul,
       {kStore + L"\\a.inf", kStore + L"\\i.inf"}},
      {L"nvoglv64.dll", {}},  // the system folder's
      {L"nv.inf\\x.dll", {}},  // from the current folder
      {kStore + L"\\x.dll", {}},  // the store itself
      {kStore + L"X\\nv.inf\\x.dll", {}},
      {kStore + L"\\nv.inf\\..\\..\\..\\x.dll", {}},
      {kStore + L"\\nv.inf.\\x.dll", {}},  // a dot Windows would trim
      {kStore + L"\\NV~1\\x.dll", {}},  // a short name left unresolved
      {kStore + L"\\nv.inf\\gone.dll", {}},
      {kStore + L"/nv.inf/x.dll", {}},
      {L"C:\\Windows\\nv.inf\\x.dll", {}},
      {L"C:\\Users\\me\\Downloads\\nv.inf\\x.dll", {}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(DriverFoldersToAdd(L"C:\\Windows\\System32", {row.value}, Resolve), row.folders)
        << std::string(row.value.begin(), row.value.end());
  }
  EXPECT_TRUE(DriverFoldersToAdd(L"C:\\Windows\\..\\System32", {rows[0].value}, Resolve).empty());
}

}  // namespace
}  // namespace tremblix
