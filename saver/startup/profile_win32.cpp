#include "saver/startup/profile_win32.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string_view>
#include <cstring>
#include <vector>

#include "saver/common/places.h"
#include "saver/common/places_win32.h"
#include "saver/common/wide_text_win32.h"
#include "saver/startup/ini_bytes.h"

namespace tremblix {

namespace {

std::wstring Wow64Folder() {
  wchar_t path[MAX_PATH] = {};
  const UINT length = GetSystemWow64DirectoryW(path, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

// Far above any settings file of ours; a larger one is not read or changed.
constexpr LONGLONG kLargestFile = 1 << 20;

constexpr char kUtf16Mark[] = "\xFF\xFE";

// The file's bytes; nothing where it cannot be read.
std::optional<std::string> BytesOf(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  LARGE_INTEGER size = {};
  std::optional<std::string> bytes;
  if (GetFileSizeEx(file, &size) && size.QuadPart <= kLargestFile) {
    bytes.emplace(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!ReadFile(file, bytes->data(), static_cast<DWORD>(bytes->size()), &read, nullptr) ||
        read != bytes->size()) {
      bytes.reset();
    }
  }
  CloseHandle(file);
  return bytes;
}

// A file saved as UTF-16 (by an editor; the profile functions keep it so)
// holds text rather than bytes: the profile functions read it, and write it,
// in the ANSI code page, and so do we.
bool IsUtf16(const std::string& bytes) { return bytes.rfind(kUtf16Mark, 0) == 0; }

std::optional<std::string> TextOf(const std::wstring& path) {
  std::optional<std::string> bytes = BytesOf(path);
  if (!bytes || !IsUtf16(*bytes)) return bytes;
  std::wstring text((bytes->size() - 2) / 2, L'\0');
  std::memcpy(text.data(), bytes->data() + 2, text.size() * 2);
  return Narrow(text, CP_ACP);
}

}  // namespace

bool AnsiLeadByte(uint8_t byte) { return IsDBCSLeadByte(byte) != 0; }

uint32_t Win32Profile::ProfileRead(const std::string& section, const std::string& key,
                                   const std::string& fallback, char* buffer, uint32_t size,
                                   const std::wstring& file) {
  if (size == 0) return 0;
  const std::optional<std::string> bytes = TextOf(file);
  std::optional<std::string_view> value;
  if (bytes) value = IniValue(*bytes, section, key);
  const std::string_view text = value ? *value : std::string_view(fallback);
  const size_t length = std::min<size_t>(text.size(), size - 1);
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
  return static_cast<uint32_t>(length);
}

// The wide profile function, with names and value turned into wide text from
// the ANSI code page, as the ANSI function does: the file keeps the same
// bytes, and its path may hold letters no code page spells.
bool Win32Profile::ProfileWrite(const std::string& section, const std::string& key,
                                const std::string& value, const std::wstring& file) {
  const std::optional<std::wstring> wide_section = WideExactly(section, CP_ACP);
  const std::optional<std::wstring> wide_key = WideExactly(key, CP_ACP);
  const std::optional<std::wstring> wide_value = WideExactly(value, CP_ACP);
  if (!wide_section || !wide_key || !wide_value) return false;
  return WritePrivateProfileStringW(wide_section->c_str(), wide_key->c_str(), wide_value->c_str(),
                                    file.c_str()) != 0;
}

// On the bytes, since the profile functions cannot name a key the code page
// does not spell; a UTF-16 file has only keys they can name.
bool Win32Profile::ProfileDelete(const std::string& section, const std::string& key,
                                 const std::wstring& file) {
  if (!tremblix::FileThere(file)) return true;
  const std::optional<std::string> bytes = BytesOf(file);
  if (!bytes) return false;
  if (IsUtf16(*bytes)) {
    return WritePrivateProfileStringW(Wide(section, CP_ACP).c_str(), Wide(key, CP_ACP).c_str(),
                                      nullptr, file.c_str()) != 0;
  }
  const std::string kept = IniWithoutKey(*bytes, section, key);
  if (kept == *bytes) return true;
  return WriteWholeFile(file, kept.data(), kept.size());
}

namespace {

bool OpensForReading(const std::string& path) {
  // A folder cannot be opened this way, which is what we want.
  HANDLE file = CreateFileW(Wide(path, CP_UTF8).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

class OpenCheck : public PresenceCalls {
 public:
  bool Opens(const std::string& path) override { return OpensForReading(path); }
  uintptr_t ThisThread() override {
    HANDLE self = nullptr;
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &self, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    return reinterpret_cast<uintptr_t>(self);
  }
  void CancelOpen(uintptr_t thread) override {
    // Windows Vista and later; before, nothing cancels an open.
    using Cancel = BOOL(WINAPI*)(HANDLE);
    static const auto cancel = reinterpret_cast<Cancel>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "CancelSynchronousIo")));
    if (cancel && thread) cancel(reinterpret_cast<HANDLE>(thread));
  }
  void Forget(uintptr_t thread) override {
    if (thread) CloseHandle(reinterpret_cast<HANDLE>(thread));
  }
};

std::chrono::milliseconds g_presence_bound(1000);

}  // namespace

void SetFilePresenceBound(std::chrono::milliseconds bound) { g_presence_bound = bound; }

namespace {

// One for the program: the run asks again about the file the settings named,
// and a check of it still out is not started twice.
BoundedPresence& FileChecks() {
  static BoundedPresence presence(std::make_shared<OpenCheck>(), g_presence_bound,
                                  std::chrono::milliseconds(1000));
  return presence;
}

}  // namespace

Presence FilePresence(const std::string& path) { return FileChecks().Ask(path); }

void EndFileChecks() { FileChecks().EndChecks(); }

// A file whose open does not answer within the bound (a share that has
// gone) is kept: only a file known not to open is forgotten, and the run
// looks for it again before it plays it.
bool Win32Profile::CanOpenForReading(const std::string& path) {
  return FilePresence(path) != Presence::kGone;
}

unsigned Win32Profile::AnsiCodePage() { return GetACP(); }

unsigned Win32Profile::LanguageCodePage() {
  DWORD code_page = 0;
  if (!GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                      reinterpret_cast<LPWSTR>(&code_page), sizeof code_page / sizeof(wchar_t))) {
    return 0;
  }
  return code_page;
}

uint16_t Win32Profile::SystemLanguage() { return GetSystemDefaultLangID(); }

std::optional<std::string> Win32Profile::ToCodePage(const std::string& utf8, unsigned code_page) {
  const std::optional<std::wstring> wide = WideExactly(utf8, CP_UTF8);
  if (!wide) return std::nullopt;
  return NarrowExactly(*wide, code_page);
}

std::string Win32Profile::FromCodePage(const std::string& bytes, unsigned code_page) {
  return Narrow(Wide(bytes, code_page), CP_UTF8);
}

std::optional<std::string> Win32Profile::ShortPath(const std::string& utf8) {
  std::optional<std::wstring> short_path = ShortPathOf(Wide(utf8, CP_UTF8));
  if (!short_path) return std::nullopt;
  return Narrow(*short_path, CP_UTF8);
}

bool Win32Profile::FileThere(const std::wstring& path) { return tremblix::FileThere(path); }

bool Win32Profile::CopyWhole(const std::wstring& from, const std::wstring& to) {
  return CopyFileW(from.c_str(), to.c_str(), FALSE) != 0;
}

bool Win32Profile::PutInPlace(const std::wstring& from, const std::wstring& to) {
  // A rename within the folder: the file is the old one or the new one whole.
  return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
         0;
}

void Win32Profile::Remove(const std::wstring& path) { DeleteFileW(path.c_str()); }

std::string ThisProgramFolder() {
  std::vector<wchar_t> path(32768);
  DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  // UTF-8: no byte of a longer character is a backslash or a colon.
  return ProgramFolder(Narrow(std::wstring(path.data(), length), CP_UTF8), &NoLeadBytes);
}

std::wstring ThisSettingsFile() {
  const std::wstring program_folder = Wide(ThisProgramFolder(), CP_UTF8);
  const std::wstring roaming = KnownFolder(CSIDL_APPDATA, true);
  std::wstring folder = roaming.empty() ? std::wstring() : UserFolder(roaming);
  if (!FolderThere(folder, true)) folder.clear();
  const SettingsPlace place = SettingsPlaceOf(kThisEdition, program_folder, folder,
                                              KnownFolder(CSIDL_LOCAL_APPDATA), Wow64Folder());
  const std::wstring earlier = SettingsToTakeOver(FileThere(place.file), place.earlier, &FileThere);
  if (!earlier.empty()) CopyFileW(earlier.c_str(), place.file.c_str(), TRUE);
  return place.file;
}

}  // namespace tremblix
