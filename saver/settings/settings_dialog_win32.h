// The settings dialog.
#pragma once

namespace tremblix {

// Shows the dialog and returns when it has closed.
void ShowSettingsDialogModal();

}  // namespace tremblix
