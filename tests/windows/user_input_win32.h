// What the display tests do in place of a user's hand: run the message loop
// for a while, and press or release mouse buttons where the pointer is.
#pragma once

#include <windows.h>

namespace tremblix::testing {

// Handles messages for about ms milliseconds; keys for dialog (when there is
// one) go through its dialog handling, as in the programs' own loops.
inline void PumpMessages(HWND dialog, int ms) {
  const DWORD end = GetTickCount() + ms;
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) continue;
      if (dialog && IsDialogMessageW(dialog, &msg)) continue;
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

}  // namespace tremblix::testing
