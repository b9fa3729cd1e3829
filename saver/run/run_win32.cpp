#include "saver/run/run_win32.h"

#include <memory>

#include "saver/common/power_win32.h"
#include "saver/common/wide_text_win32.h"
#include "saver/run/capture_win32.h"
#include "saver/startup/profile_win32.h"
#include "timing/launch_times_win32.h"

namespace tremblix {
namespace {

constexpr char kRendererTitle[] = "Tremblix_VC";

std::unique_ptr<RunForm> g_run;

}  // namespace

bool ProcessCalls::CreateSuspended(const std::string& path, PROCESS_INFORMATION* process) {
  // The command line is the path alone; naming the program as well keeps a
  // path with blanks from being taken for a shorter one. The wide call: the
  // folder may have any name.
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  const std::wstring program = Wide(path, CP_UTF8);
  std::wstring command_line = program;
  return CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE,
                        CREATE_SUSPENDED, nullptr, nullptr, &startup, process);
}

bool ProcessCalls::AllowForeground(DWORD process_id, DWORD* error) {
  SetLastError(0);
  const bool allowed = AllowSetForegroundWindow(process_id);
  *error = GetLastError();
  return allowed;
}

void ProcessCalls::Resume(HANDLE thread) { ResumeThread(thread); }

HANDLE StartRendererProcess(const std::string& path, ProcessCalls& calls) {
  PROCESS_INFORMATION process = {};
  if (!calls.CreateSuspended(path, &process)) return nullptr;
  // Windows lets a process hand on the front only while it may take it
  // itself, as the saver Windows has just started may.
  DWORD error = 0;
  const bool allowed = calls.AllowForeground(process.dwProcessId, &error);
  launch_times::Mark("scr allowed the renderer the foreground: %s, error %lu",
                     allowed ? "yes" : "no", error);
  calls.Resume(process.hThread);
  if (process.hThread) CloseHandle(process.hThread);
  return process.hProcess;
}

RunForm::RunForm(const std::string& switch_letter)
    : music_(device_, Settings),
      run_(*this, music_, Settings, switch_letter, ThisProgramFolder(), &NoLeadBytes) {}

void RunForm::Start() {
  if (!Load(L"Tremblix_Main", WS_POPUP, 0, 0, 0, GetSystemMetrics(SM_CXSCREEN),
            GetSystemMetrics(SM_CYSCREEN))) {
    return;
  }
  // Music plays only while the display shows; Windows tells a hidden window
  // as well as a shown one.
  NotifyDisplayState(hwnd());
  NotifySessionChanges(hwnd());
  run_.Form_Load();
  watch_start_ = WatchSample();
  watch_last_ = watch_start_;
}

void RunForm::CaptureDesktop() {
  launch_times::Mark("scr capture begins");
  PhotographAndWriteHandOffPictures(Settings.AllMonitors);
}

void RunForm::StartRenderer(const std::string& path) {
  ProcessCalls calls;
  renderer_ = StartRendererProcess(path, calls);  // kept for the watch
  launch_times::Mark("scr renderer process created");
}

bool RunForm::RendererRunning() {
  return renderer_ && WaitForSingleObject(renderer_, 0) == WAIT_TIMEOUT;
}

bool RunForm::RendererWindowExists() { return FindWindowA(nullptr, kRendererTitle) != nullptr; }

void RunForm::SetTimer(RunTimer timer, bool on) {
  if (on) {
    ::SetTimer(hwnd(), timer, kTimerIntervalMs[timer], nullptr);
  } else {
    KillTimer(hwnd(), timer);
  }
}

Presence RunForm::MusicFilePresence(const std::string& path) { return FilePresence(path); }

void RunForm::ShowCursor() { ::ShowCursor(TRUE); }

void RunForm::EndProgram() {
  if (launch_times::On()) {
    const double wall = watch_last_.wall - watch_start_.wall;
    const double processor = watch_last_.processor - watch_start_.processor;
    launch_times::Mark("scr watched %.0f ms using %.1f ms of processor: %.3f %% of a core", wall,
                       processor, wall > 0 ? 100 * processor / wall : 0.0);
  }
  // The process ends without destroying the window, which Windows must
  // first have forgotten.
  StopSessionNotices(hwnd());
  EndFileChecks();
  forms::EndProgram();
}

void RunForm::PowerNotice(WPARAM event, LPARAM data) {
  uint32_t state;
  if (DisplayStateOf(event, data, &state)) {
    run_.DisplayStateChanged(state);
  } else if (event == kPowerSuspend) {
    run_.Suspending();
  } else if (event == kPowerResumeAutomatic) {
    run_.Resumed(false);
  } else if (event == kPowerResumeByPerson) {
    run_.Resumed(true);
  }
}

LRESULT RunForm::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_TIMER:
      if (wparam == kTimer1) run_.Timer1_Timer();
      if (wparam == kTimer2) run_.Timer2_Timer();
      // Marked, so that a test of what the looks leave alone waits for
      // them rather than for a time.
      if (wparam == kTimer3) {
        watch_last_ = WatchSample();
        run_.Timer3_Timer();
        launch_times::Mark("scr looked for the renderer");
      }
      if (wparam == kTimer4) run_.Timer4_Timer();
      return 0;
    case WM_POWERBROADCAST:
      PowerNotice(wparam, lparam);
      return TRUE;
    case kSessionChangeMessage:
      run_.SessionChanged(wparam);
      return 0;
    case WM_DESTROY:
      StopSessionNotices(hwnd());
      break;
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

RunForm::Sample RunForm::WatchSample() {
  if (!launch_times::On()) return {};
  return {launch_times::Now(), launch_times::ProcessorMs()};
}

void LoadFullScreenRun(const std::string& switch_letter) {
  g_run = std::make_unique<RunForm>(switch_letter);
  g_run->Start();
}

}  // namespace tremblix
