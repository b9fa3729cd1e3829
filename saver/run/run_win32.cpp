#include "saver/run/run_win32.h"

#include "saver/forms/form_win32.h"

namespace tremblix {
namespace {

// Stand-ins until the run and the preview are built: each carries its caption
// for a moment and then ends the program.
constexpr UINT kPlaceholderLifeMs = 800;

class PlaceholderForm : public forms::Form {
 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_CREATE) SetTimer(hwnd(), 1, kPlaceholderLifeMs, nullptr);
    if (message == WM_TIMER) forms::EndProgram();
    return Form::HandleMessage(message, wparam, lparam);
  }
};

PlaceholderForm g_run_form;      // Tremblix_S
PlaceholderForm g_preview_form;  // Tremblix_R

}  // namespace

void LoadFullScreenRun() { g_run_form.Load(L"Tremblix_Main", WS_POPUP, 0, 0, 0, 1, 1); }

void EmbedPreview(HWND host) {
  RECT area;
  if (!IsWindow(host) || !GetClientRect(host, &area)) return;
  g_preview_form.Load(L"Preview Window", WS_CHILD | WS_VISIBLE, 0, 0, 0, area.right, area.bottom,
                      host);
}

}  // namespace tremblix
