#include "saver/startup/startup.h"

#include "saver/startup/command_line.h"

namespace tremblix {

void Main(StartupHost& host, std::string_view args, std::string_view program_folder) {
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

  host.LoadSettings();
  if (!host.FileExists(std::string(program_folder) + kRendererName)) {
    host.ShowMissingRendererMessage();
    host.EndProgram();
    return;
  }

  if (letter == "C") {
    host.ShowSettingsDialog();
    host.EndProgram();
    return;
  }
  if (letter != "S" && !args.empty()) {
    host.EndProgram();
    return;
  }

  // Before the run makes a window or measures the screen. The dialog and the
  // preview are left to Windows to scale.
  host.DeclareDpiAware();
  if (letter == "S") host.HideCursor();
  host.LoadFullScreenRun();
}

}  // namespace tremblix
