#include "renderer/driver_folders.h"

#include <gtest/gtest.h>

namespace tremblix {
namespace {

const std::wstring kSystem = L"C:\\Windows\\System32";
const std::wstring kStore = L"C:\\Windows\\System32\\DriverStore\\FileRepository";

// Windows' own resolving, played: one 8.3 name it knows, one file it cannot find.
std::optional<std::wstring> Resolve(const std::wstring& path) {
  if (path == L"C:\\Windows\\System32\\DRIVER~1\\FILERE~1\\nv.inf\\nvoglv64.dll") {
    return kStore + L"\\nv.inf\\nvoglv64.dll";
  }
  if (path.find(L"gone") != std::wstring::npos) return std::nullopt;
  if (path == L"nv.inf\\x.dll") return kStore + L"\\nv.inf\\x.dll";  // from the current folder
  return path;
}

TEST(DriverFoldersToAdd, OnlyFoldersBelowTheDriverStore) {
  const struct {
    std::wstring value;
    std::vector<std::wstring> folders;
  } rows[] = {
      {kStore + L"\\nv_dispi.inf_amd64_1\\nvoglv64.dll", {kStore + L"\\nv_dispi.inf_amd64_1"}},
      {kStore + L"\\a.inf\\sub\\ig.dll", {kStore + L"\\a.inf\\sub"}},
      {L"c:\\WINDOWS\\system32\\driverstore\\FILEREPOSITORY\\u.inf\\x.dll",
       {L"c:\\WINDOWS\\system32\\driverstore\\FILEREPOSITORY\\u.inf"}},
      {L"C:\\Windows\\System32\\DRIVER~1\\FILERE~1\\nv.inf\\nvoglv64.dll", {kStore + L"\\nv.inf"}},
      // Several strings, an empty one among them; one folder named twice.
      {kStore + L"\\amd.inf\\atio6axx.dll" + std::wstring(1, L'\0') + std::wstring(1, L'\0') +
           kStore + L"\\AMD.inf\\atiglpxx.dll" + std::wstring(1, L'\0') + kStore +
           L"\\i.inf\\ig9icd64.dll" + std::wstring(2, L'\0'),
       {kStore + L"\\amd.inf", kStore + L"\\i.inf"}},
      {L"nvoglv64.dll", {}},                          // the system folder's
      {kStore + L"\\nvoglv64.dll", {}},               // the store itself
      {kStore + L"X\\nv.inf\\nvoglv64.dll", {}},      // a name that only begins alike
      {kStore + L"\\nv.inf\\..\\..\\..\\evil.dll", {}},
      {kStore + L"\\..\\FileRepository\\nv.inf\\x.dll", {}},
      {kStore + L"\\.\\nv.inf\\x.dll", {}},
      {kStore + L"\\nv.inf.\\x.dll", {}},             // Windows would trim the dot
      {kStore + L"\\NV~1\\x.dll", {}},                // a short name left unresolved
      {kStore + L"\\nv.inf\\gone.dll", {}},           // cannot be resolved
      {L"nv.inf\\x.dll", {}},                        // relative
      {kStore + L"\\nv.inf\\x.dll:stream", {}},
      {kStore + L"/nv.inf/x.dll", {}},
      {kStore + L"\\\\nv.inf\\x.dll", {}},
      {L"\\\\?\\" + kStore + L"\\nv.inf\\x.dll", {}},
      {L"\\\\server\\share\\DriverStore\\FileRepository\\nv.inf\\x.dll", {}},
      {L"C:\\Windows\\nv.inf\\x.dll", {}},            // another folder of Windows
      {L"C:\\Windows\\System32\\x.dll", {}},
      {L"C:\\Users\\me\\Downloads\\nv.inf\\x.dll", {}},
      {L"D:\\Windows\\System32\\DriverStore\\FileRepository\\nv.inf\\x.dll", {}},
      {L"", {}},
      {std::wstring(3, L'\0'), {}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(DriverFoldersToAdd(kSystem, {row.value}, Resolve), row.folders)
        << std::string(row.value.begin(), row.value.end());
  }
  // Two adapters of one driver add its folder once; a system folder that is
  // not plain adds nothing.
  const std::wstring nv = kStore + L"\\nv.inf\\nvoglv64.dll";
  EXPECT_EQ(DriverFoldersToAdd(kSystem, {nv, nv}, Resolve),
            std::vector<std::wstring>{kStore + L"\\nv.inf"});
  EXPECT_TRUE(DriverFoldersToAdd(L"C:\\Windows\\..\\System32", {nv}, Resolve).empty());
  EXPECT_TRUE(DriverFoldersToAdd(L"", {nv}, Resolve).empty());
}

}  // namespace
}  // namespace tremblix
