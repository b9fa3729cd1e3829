// What the display tests do in place of a user's hand: run the message loop
// for a while, press or release mouse buttons where the pointer is, and tap
// keys.
#pragma once

#include <windows.h>

#include "saver/forms/form_win32.h"

namespace tremblix::testing {

// Handles messages for about ms milliseconds; keys for dialog (when there is
// one) go through its dialog handling, as in the programs' own loops.
inline void PumpMessages(HWND dialog, int ms) {
  const DWORD end = GetTickCount() + ms;
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) continue;
      if (dialog && forms::IsFormMessage(dialog, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(2);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

inline void SendMouse(DWORD flags) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof(input));
}

// A key's press (its repeat while held, if down already) or its release.
inline void SendKeyEvent(WORD key, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki = {key, 0, up ? KEYEVENTF_KEYUP : 0u, 0, 0};
  SendInput(1, &input, sizeof(input));
}

// Presses and releases a key, with Shift held around it when asked, for the
// window that has the keyboard focus.
inline void SendKey(WORD key, bool shift = false) {
  INPUT inputs[4] = {};
  int count = 0;
  auto add = [&](WORD vk, DWORD flags) {
    inputs[count].type = INPUT_KEYBOARD;
    inputs[count].ki.wVk = vk;
    inputs[count].ki.dwFlags = flags;
    ++count;
  };
  if (shift) add(VK_SHIFT, 0);
  add(key, 0);
  add(key, KEYEVENTF_KEYUP);
  if (shift) add(VK_SHIFT, KEYEVENTF_KEYUP);
  SendInput(count, inputs, sizeof(INPUT));
}

}  // namespace tremblix::testing
