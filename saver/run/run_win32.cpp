#include "saver/run/run_win32.h"

#include <memory>

#include "saver/forms/form_win32.h"
#include "saver/music/bgm_win32.h"
#include "saver/run/capture_win32.h"
#include "saver/run/full_screen_run.h"
#include "saver/startup/profile_win32.h"
#include "timing/launch_times_win32.h"

namespace tremblix {
namespace {

constexpr char kRendererTitle[] = "Tremblix_VC";

// Tremblix_S: hidden, and the instance marker of a run for as long as it lasts.
class RunForm : public forms::Form, public RunHost {
 public:
  explicit RunForm(const std::string& switch_letter)
      : music_(device_, Settings),
        run_(*this, music_, Settings, switch_letter, ThisProgramFolder(), &AnsiLeadByte) {}

  void Start() {
    if (!Load(L"Tremblix_Main", WS_POPUP, 0, 0, 0, GetSystemMetrics(SM_CXSCREEN),
              GetSystemMetrics(SM_CYSCREEN))) {
      return;
    }
    run_.Form_Load();
    watch_start_ = WatchSample();
    watch_last_ = watch_start_;
  }

  void CaptureDesktop() override {
    launch_times::Mark("scr capture begins");
    PhotographAndWriteHandOffPictures();
  }

  void StartRenderer(const std::string& path) override {
    // The command line is the path alone; naming the program as well keeps a
    // path with blanks from being taken for a shorter one.
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    std::string command_line = path;
    if (CreateProcessA(path.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       nullptr, &startup, &process)) {
      CloseHandle(process.hThread);
      renderer_ = process.hProcess;  // kept for the watch
    }
    launch_times::Mark("scr renderer process created");
  }

  bool RendererRunning() override {
    return renderer_ && WaitForSingleObject(renderer_, 0) == WAIT_TIMEOUT;
  }

  bool RendererWindowExists() override { return FindWindowA(nullptr, kRendererTitle) != nullptr; }

  void SetTimer(RunTimer timer, bool on) override {
    if (on) {
      ::SetTimer(hwnd(), timer, kTimerIntervalMs[timer], nullptr);
    } else {
      KillTimer(hwnd(), timer);
    }
  }

  void ShowCursor() override { ::ShowCursor(TRUE); }
  void EndProgram() override {
    if (launch_times::On()) {
      const double wall = watch_last_.wall - watch_start_.wall;
      const double processor = watch_last_.processor - watch_start_.processor;
      launch_times::Mark("scr watched %.0f ms using %.1f ms of processor: %.3f %% of a core",
                         wall, processor, wall > 0 ? 100 * processor / wall : 0.0);
    }
    forms::EndProgram();
  }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
    switch (message) {
      case WM_TIMER:
        if (wparam == kTimer1) run_.Timer1_Timer();
        if (wparam == kTimer2) run_.Timer2_Timer();
        if (wparam == kTimer3) {
          watch_last_ = WatchSample();
          run_.Timer3_Timer();
        }
        return 0;
      case WM_CLOSE:
        // Any unload ends the run the same way; the renderer is left alone.
        run_.Form_QueryUnload();
        return 0;
      case WM_QUERYENDSESSION:
        return run_.SessionMayEnd() ? TRUE : FALSE;
      case WM_ENDSESSION:
        run_.SessionEnds(wparam != FALSE);
        return 0;
    }
    return Form::HandleMessage(message, wparam, lparam);
  }

 private:
  // The processor time the watch costs, for the launch benchmark.
  struct Sample {
    double wall = 0, processor = 0;
  };
  static Sample WatchSample() {
    if (!launch_times::On()) return {};
    return {launch_times::Now(), launch_times::ProcessorMs()};
  }

  Sample watch_start_, watch_last_;
  HANDLE renderer_ = nullptr;
  Win32MusicDevice device_;
  Tremblix_BGM music_;
  FullScreenRun run_;
};

std::unique_ptr<RunForm> g_run;

}  // namespace

void LoadFullScreenRun(const std::string& switch_letter) {
  g_run = std::make_unique<RunForm>(switch_letter);
  g_run->Start();
}

}  // namespace tremblix
