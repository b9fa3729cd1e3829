#include "saver/startup/startup.h"

#include "saver/companion/companion.h"
#include "saver/startup/command_line.h"

namespace tremblix {

void Main(StartupHost& host, std::string_view args, std::string_view program_folder) {
  // Before the guard: the companion lives beside runs and dialogs, reads no
  // settings and needs no renderer.
  if (SwitchLetter(args) == kCompanionLetter) {
    host.RunCompanion();
    host.EndProgram();
    return;
  }
  // Both lookups are always made.
  const bool run_going_on = host.TopLevelWindowExists(kRunMarker);
  const bool dialog_open = host.TopLevelWindowExists(kDialogMarker);
  if (run_going_on || dialog_open) {
    host.EndProgram();
    return;
  }

  const std::string letter = SwitchLetter(args);
  if (letter == "P") {
    host.EmbedPreview(HostHandle(args));
    return;
  }

  // Started without arguments, a saver is asked for its settings (Explorer's
  // Configure).
  const bool settings = letter == "C" || args.empty();
  // The run looks for its music after the photograph, which nothing delays.
  host.LoadSettings(letter == "S" ? MusicFileLook::kByTheRun : MusicFileLook::kByTheLoad);
  if (settings) host.DeclareDialogDpiAware();
  if (!host.FileExists(std::string(program_folder) + kRendererName)) {
    host.ShowMissingRendererMessage(settings ? std::optional<int32_t>(HostHandle(args))
                                             : std::nullopt);
    host.EndProgram();
    return;
  }

  if (settings) {
    host.ShowSettingsDialog(HostHandle(args));
    host.EndProgram();
    return;
  }
  if (letter != "S") {
    host.EndProgram();
    return;
  }

  // Before the run makes a window or measures the screen.
  host.DeclareDpiAware();
  host.HideCursor();
  host.LoadFullScreenRun();
}

}  // namespace tremblix
