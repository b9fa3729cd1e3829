// What the settings dialog hands to the platform when it asks for a file and
// for the home page: the records are caught on their way out through the
// program's own imports, and the file chooser is then really shown and
// answered as a user would, under whatever code page the test runs in.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cwchar>
#include <fstream>
#include <string>
#include <thread>

#include "saver/common/wide_text_win32.h"
#include "saver/settings/settings_dialog_win32.h"
#include "saver/startup/profile_win32.h"
#include "tests/windows/import_hook_win32.h"
#include "tests/windows/user_input_win32.h"
#include "tools/winprobe/file_name_box_win32.h"

namespace tremblix {
namespace {

// A copy of a file-open record and of what its pointers pointed at.
struct ChooserRecord {
  OPENFILENAMEW fields = {};
  std::wstring filter;       // with its NULs, up to the empty string that ends it
  bool file_all_nul = false, file_title_all_nul = false;
  std::wstring initial_dir, title;
};

struct ShellRecord {
  HWND owner;
  std::string verb, file, parameters, directory;
  int show;
};

using GetOpenFileNameWFunction = BOOL(WINAPI*)(OPENFILENAMEW*);
GetOpenFileNameWFunction g_real_chooser;
std::vector<ChooserRecord> g_chooser_records;
std::vector<ShellRecord> g_shell_records;

bool AllNul(const wchar_t* buffer, DWORD size) {
  for (DWORD i = 0; i < size; ++i) {
    if (buffer[i] != L'\0') return false;
  }
  return true;
}

BOOL WINAPI RecordingChooser(OPENFILENAMEW* request) {
  ChooserRecord record;
  record.fields = *request;
  if (const wchar_t* f = request->lpstrFilter) {
    const wchar_t* end = f;
    while (*end) end += wcslen(end) + 1;
    record.filter.assign(f, end + 1);
  }
  record.file_all_nul = request->lpstrFile && AllNul(request->lpstrFile, request->nMaxFile);
  record.file_title_all_nul =
      request->lpstrFileTitle && AllNul(request->lpstrFileTitle, request->nMaxFileTitle);
  if (request->lpstrInitialDir) record.initial_dir = request->lpstrInitialDir;
  if (request->lpstrTitle) record.title = request->lpstrTitle;
  g_chooser_records.push_back(record);
  return g_real_chooser(request);
}

HINSTANCE WINAPI RecordingShellExecute(HWND owner, const char* verb, const char* file,
                                       const char* parameters, const char* directory, int show) {
  g_shell_records.push_back({owner, verb ? verb : "(null)", file ? file : "(null)",
                             parameters ? parameters : "(null)",
                             directory ? directory : "(null)", show});
  return reinterpret_cast<HINSTANCE>(42);  // opened, as far as the caller can tell
}

std::wstring Wide(const std::string& text) { return tremblix::Wide(text, CP_UTF8); }

class PlatformRequestsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    g_real_chooser = reinterpret_cast<GetOpenFileNameWFunction>(
        testing::HookImport("comdlg32.dll", "GetOpenFileNameW",
                            reinterpret_cast<void*>(&RecordingChooser)));
    testing::HookImport("shell32.dll", "ShellExecuteA",
                        reinterpret_cast<void*>(&RecordingShellExecute));
  }

  void SetUp() override {
    ASSERT_TRUE(g_real_chooser) << "the program does not import GetOpenFileNameW";
    g_chooser_records.clear();
    g_shell_records.clear();
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder_ = Narrow(temp, CP_UTF8) + "tremblix-requests-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryW(Wide(folder_).c_str(), nullptr);
    settings_.BgmKind = 2;
    settings_.BgmFolder = folder_;
    dialog_ = std::make_unique<SettingsDialogWindow>(settings_, profile_,
                                                     Wide(folder_ + "\\Tremblix.ini"));
    ASSERT_TRUE(dialog_->LoadDialog());
    ShowWindow(dialog_->hwnd(), SW_SHOWNORMAL);
    testing::PumpMessages(dialog_->hwnd(), 100);
  }

  void TearDown() override {
    dialog_.reset();
    for (const std::wstring& file : files_) DeleteFileW(file.c_str());
    RemoveDirectoryW(Wide(folder_).c_str());
  }

  // Shows the real chooser; a second thread types `name` into it and accepts
  // it, as a user does, or cancels it when `name` is null. A chooser that does
  // not come up within 10 s, or does not go once answered, fails the test at
  // once: the thread then cancels every dialog this thread shows, so that the
  // chooser's call returns instead of hanging until the test is killed.
  std::optional<std::string> ChooseAsAUser(const wchar_t* name) {
    const DWORD tester = GetCurrentThreadId();
    std::atomic<bool> returned{false};
    std::string gave_up;
    std::thread user([&] {
      auto within_10s = [&](auto done) {
        for (int i = 0; i < 200; ++i) {
          if (done()) return true;
          Sleep(50);
        }
        return done();
      };
      HWND chooser = nullptr;
      const bool came_or_returned = within_10s([&] {
        return returned || (chooser = FindWindowW(nullptr, kChooserTitle)) != nullptr;
      });
      if (!came_or_returned || !chooser) {
        gave_up = "no chooser came up";
      } else {
        Sleep(300);
        if (name) {
          SendMessageW(testing::FileNameBox(chooser), WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>(name));
        }
        PostMessageW(chooser, WM_COMMAND, name ? IDOK : IDCANCEL, 0);
        if (!within_10s([&] { return returned.load(); })) gave_up = "the chooser did not go";
      }
      while (!gave_up.empty() && !returned) {
        EnumThreadWindows(tester, CancelDialog, 0);
        Sleep(50);
      }
    });
    std::optional<std::string> chosen = dialog_->ChooseFile(folder_);
    returned = true;
    user.join();
    if (!gave_up.empty()) ADD_FAILURE() << gave_up << " within 10 s";
    return chosen;
  }

  // Cancels a dialog box (the chooser, or a message in its place).
  static BOOL CALLBACK CancelDialog(HWND window, LPARAM) {
    wchar_t class_name[16] = {};
    GetClassNameW(window, class_name, 16);
    if (IsWindowVisible(window) && wcscmp(class_name, L"#32770") == 0) {
      PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    }
    return TRUE;
  }

  // A file in the folder; false when the file system cannot hold its name.
  bool MakeFile(const std::wstring& name) {
    const std::wstring path = Wide(folder_) + L"\\" + name;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    files_.push_back(path);
    return true;
  }

  std::string folder_;
  std::vector<std::wstring> files_;
  SettingsRecord settings_;
  Win32Profile profile_;
  std::unique_ptr<SettingsDialogWindow> dialog_;
};

TEST_F(PlatformRequestsTest, TheFileChooserGetsOurRecordAndOpensInTheStartFolder) {
  ASSERT_TRUE(MakeFile(L"tune.mp3"));
  // A bare name is taken from the folder the chooser opened in.
  std::optional<std::string> chosen = ChooseAsAUser(L"tune.mp3");
  ASSERT_EQ(g_chooser_records.size(), 1u) << "the real chooser was not called";
  const ChooserRecord& r = g_chooser_records[0];
  // The whole record of this edition: 76 bytes in a 32-bit process, 136 in a
  // 64-bit one.
  constexpr DWORD kRecordSize = sizeof(void*) == 8 ? 136 : 76;
  EXPECT_EQ(r.fields.lStructSize, kRecordSize) << "the " << kRecordSize << "-byte record";
  EXPECT_EQ(r.fields.hwndOwner, dialog_->hwnd());
  EXPECT_EQ(r.fields.hInstance, GetModuleHandleW(nullptr));
  EXPECT_EQ(r.filter, std::wstring(L"BGMﾌｧｲﾙ (MP3 WAV)\0*.MP3;*.WAV\0", 31))
      << "one description and one pattern, each ended by a NUL, then the empty string";
  EXPECT_EQ(r.fields.lpstrCustomFilter, nullptr);
  EXPECT_EQ(r.fields.nMaxCustFilter, 0u);
  EXPECT_EQ(r.fields.nFilterIndex, 0u);
  EXPECT_TRUE(r.file_all_nul) << "no file name is proposed";
  EXPECT_GE(r.fields.nMaxFile, static_cast<DWORD>(MAX_PATH)) << "a long path would be cut";
  EXPECT_TRUE(r.file_title_all_nul);
  EXPECT_EQ(r.fields.nMaxFileTitle, r.fields.nMaxFile);
  EXPECT_EQ(r.initial_dir, Wide(folder_));
  EXPECT_EQ(r.title, L"ﾌｧｲﾙを開く");
  EXPECT_EQ(r.fields.Flags, 0u);
  EXPECT_EQ(r.fields.nFileOffset, 0);
  EXPECT_EQ(r.fields.nFileExtension, 0);
  EXPECT_EQ(r.fields.lpstrDefExt, nullptr);
  EXPECT_EQ(r.fields.lCustData, 0);
  EXPECT_EQ(r.fields.lpfnHook, nullptr);
  EXPECT_EQ(r.fields.lpTemplateName, nullptr);
  ASSERT_TRUE(chosen) << "the chooser gave nothing back";
  EXPECT_EQ(*chosen, folder_ + "\\tune.mp3");

  EXPECT_FALSE(ChooseAsAUser(nullptr)) << "a cancelled chooser chose something";
}

TEST_F(PlatformRequestsTest, ANameTheCodePageCannotSpellComesBackWhole) {
  // The wave dash and é have no place in code page 932, 曲 none in 1252.
  const std::wstring name = L"\u301c caf\u00e9 \u66f2.mp3";
  if (!MakeFile(name)) GTEST_SKIP() << "the file system here cannot hold that name";
  std::optional<std::string> chosen = ChooseAsAUser(name.c_str());
  ASSERT_TRUE(chosen) << "the chooser gave nothing back";
  std::printf("chosen under code page %u: %s\n", GetACP(), chosen->c_str());
  EXPECT_EQ(*chosen, folder_ + "\\" + Narrow(name, CP_UTF8)) << "not the whole long name";
  EXPECT_TRUE(FileExists(profile_, *chosen)) << *chosen;
}

TEST_F(PlatformRequestsTest, TheHomePageIsOpenedWithTheVerbOpen) {
  dialog_->OpenHomePage(kHomePage);
  ASSERT_EQ(g_shell_records.size(), 1u) << "ShellExecuteA was not called";
  const ShellRecord& r = g_shell_records[0];
  EXPECT_EQ(r.owner, dialog_->hwnd());
  EXPECT_EQ(r.verb, "open");
  EXPECT_EQ(r.file, kHomePage);
  EXPECT_EQ(r.parameters, "");
  EXPECT_EQ(r.directory, "");
  EXPECT_EQ(r.show, SW_SHOWNORMAL);
}

}  // namespace
}  // namespace tremblix
