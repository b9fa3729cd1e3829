#include "renderer/frame_wait_win32.h"

#include <mmsystem.h>

namespace tremblix {

namespace {

// Not in MinGW's headers below Vista: the timer made with CreateWaitableTimerExW.
constexpr DWORD kHighResolutionTimer = 0x2;  // CREATE_WAITABLE_TIMER_HIGH_RESOLUTION

HANDLE HighResolutionTimer() {
  using Create = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, LPCWSTR, DWORD, DWORD);
  auto create = reinterpret_cast<Create>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "CreateWaitableTimerExW")));
  // Windows before 10 1803 refuses the flag.
  return create ? create(nullptr, nullptr, kHighResolutionTimer, TIMER_ALL_ACCESS) : nullptr;
}

}  // namespace

FrameWait::FrameWait(int64_t counter_frequency) : frequency_(counter_frequency) {
  timer_ = HighResolutionTimer();
  highResolution_ = timer_ != nullptr;
  if (!timer_) {
    timer_ = CreateWaitableTimerW(nullptr, FALSE, nullptr);
    raisedResolution_ = timeBeginPeriod(1) == TIMERR_NOERROR;
  }
}

FrameWait::~FrameWait() {
  if (timer_) CloseHandle(timer_);
  if (raisedResolution_) timeEndPeriod(1);
}

void FrameWait::UntilOrMessage(int64_t due) {
  const int64_t left = due - CounterNow();
  if (left <= 0) return;
  // Relative due times are negative, in 100 ns units.
  LARGE_INTEGER when;
  when.QuadPart = -static_cast<LONGLONG>(static_cast<double>(left) * 1e7 / frequency_);
  if (timer_ && SetWaitableTimer(timer_, &when, 0, nullptr, nullptr, FALSE)) {
    MsgWaitForMultipleObjectsEx(1, &timer_, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    return;
  }
  const DWORD ms = static_cast<DWORD>((left * 1000 + frequency_ - 1) / frequency_);
  MsgWaitForMultipleObjectsEx(0, nullptr, ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void WaitForMessage() {
  MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

int64_t CounterNow() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

bool SetSwapInterval(int n) {
  using SwapInterval = BOOL(WINAPI*)(int);
  auto set = reinterpret_cast<SwapInterval>(
      reinterpret_cast<void*>(wglGetProcAddress("wglSwapIntervalEXT")));
  return set && set(n);
}

}  // namespace tremblix
