// Entry of Tremblix.scr: the platform's side of start-up.
#include <windows.h>

#include "saver/common/dpi_win32.h"
#include "saver/companion/companion.h"
#include "saver/companion/companion_win32.h"
#include "saver/common/system_libraries_win32.h"
#include "saver/forms/form_win32.h"
#include "saver/music/settings.h"
#include "saver/run/run_win32.h"
#include "saver/settings/settings_dialog_win32.h"
#include "saver/startup/command_line.h"
#include "saver/startup/owner.h"
#include "saver/startup/owner_win32.h"
#include "saver/startup/profile_win32.h"
#include "saver/startup/startup.h"
#include "timing/launch_times_win32.h"

namespace tremblix {
namespace {

constexpr wchar_t kMissingRendererText[] = L"Tremblix.dll が同じﾌｫﾙﾀﾞに見つかりません！";
constexpr wchar_t kProgramTitle[] = L"Tremblix (ScreenSaver)";

class Win32StartupHost : public StartupHost {
 public:
  Win32StartupHost(std::string args, std::string program_folder)
      : args_(std::move(args)), program_folder_(std::move(program_folder)) {}

  bool TopLevelWindowExists(const std::string& caption) override {
    return FindWindowA(nullptr, caption.c_str()) != nullptr;
  }
  void LoadSettings(MusicFileLook look) override {
    tremblix::LoadSettings(profile_, ThisSettingsFile(), program_folder_, Settings, look);
  }
  bool FileExists(const std::string& path) override {
    return tremblix::FileExists(profile_, path);
  }
  void ShowMissingRendererMessage(std::optional<int32_t> named_owner) override {
    // A message box disables its owner while it is open, as the dialog does.
    HWND owner = named_owner ? OwnerFor(*named_owner) : nullptr;
    MessageBoxW(owner, kMissingRendererText, kProgramTitle, MB_OK);
  }
  void ShowSettingsDialog(int32_t named_owner) override {
    // Screen readers are the dialog's alone: no other mode loads their library.
    BindLateImportsNow(kOleaccImports);
    ShowSettingsDialogModal(OwnerFor(named_owner));
  }
  void EmbedPreview(int32_t host_window) override {
    tremblix::EmbedPreview(reinterpret_cast<HWND>(HandleFromArgument(host_window)));
  }
  void DeclareDialogDpiAware() override { tremblix::DeclareDialogDpiAware(); }
  void DeclareDpiAware() override { tremblix::DeclareDpiAware(); }
  void HideCursor() override { ShowCursor(FALSE); }
  void LoadFullScreenRun() override { tremblix::LoadFullScreenRun(SwitchLetter(args_)); }
  void RunCompanion() override { tremblix::RunCompanion(); }
  void EndProgram() override {
    EndFileChecks();
    forms::EndProgram();
  }

 private:
  std::string args_;
  std::string program_folder_;
  Win32Profile profile_;
};

}  // namespace
}  // namespace tremblix

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR args, int) {
  // Before anything loads a library: none comes from the program's folder.
  tremblix::LoadLibrariesFromSystemFolderOnly();
  const std::string arguments = args ? args : "";
  // The companion stays in memory all day: it loads neither library.
  if (tremblix::SwitchLetter(arguments) != tremblix::kCompanionLetter) {
    tremblix::BindLateImportsNow(tremblix::kWinmmImports);
    tremblix::BindLateImportsNow(tremblix::kMsimg32Imports);
  }
  tremblix::launch_times::MarkProcessStart("scr process created");
  tremblix::launch_times::Mark("scr main");
  const std::string folder = tremblix::ThisProgramFolder();
  tremblix::Win32StartupHost host(arguments, folder);
  tremblix::Main(host, arguments, folder);
  tremblix::forms::RunUntilLastFormUnloaded();
}
