// The full-screen run and the preview.
#pragma once

#include <windows.h>

#include <string>

#include "saver/forms/form_win32.h"
#include "saver/music/bgm_win32.h"
#include "saver/run/full_screen_run.h"

namespace tremblix {

// Loads the hidden form of the full-screen run and returns; the run lives on
// its timers.
void LoadFullScreenRun(const std::string& switch_letter);

// Places the preview window inside the host window and returns.
void EmbedPreview(HWND host);

// How the run starts the renderer; a test records the calls instead.
class ProcessCalls {
 public:
  virtual ~ProcessCalls() = default;
  // The program at the path (UTF-8), its path alone as the command line,
  // with its main thread suspended.
  virtual bool CreateSuspended(const std::string& path, PROCESS_INFORMATION* process);
  // AllowSetForegroundWindow, and the error it left.
  virtual bool AllowForeground(DWORD process_id, DWORD* error);
  virtual void Resume(HANDLE thread);
};

// Starts the renderer so that its window may come to the front: created
// suspended, allowed the foreground by its id, then let run. Windows refuses
// the front to a process that no one allowed, and keys would go to the
// program under the saver. The process handle, or null.
HANDLE StartRendererProcess(const std::string& path, ProcessCalls& calls);

// Tremblix_S: hidden, and the instance marker of a run for as long as it
// lasts. A test replaces the photograph and the renderer.
class RunForm : public forms::Form, public RunHost {
 public:
  explicit RunForm(const std::string& switch_letter);

  // Loads the form and runs its load handler.
  void Start();

  void CaptureDesktop() override;
  void StartRenderer(const std::string& path) override;
  bool RendererRunning() override;
  bool RendererWindowExists() override;
  void SetTimer(RunTimer timer, bool on) override;
  Presence MusicFilePresence(const std::string& path) override;
  void ShowCursor() override;
  void EndProgram() override;

  const FullScreenRun& run() const { return run_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void PowerNotice(WPARAM event, LPARAM data);

  // The processor time the watch costs, for the launch benchmark.
  struct Sample {
    double wall = 0, processor = 0;
  };
  static Sample WatchSample();

  Sample watch_start_, watch_last_;
  HANDLE renderer_ = nullptr;
  Win32MusicDevice device_;
  Tremblix_BGM music_;
  FullScreenRun run_;
};

}  // namespace tremblix
