// The file name box of the platform's file chooser, where a user types a name.
#pragma once

#include <windows.h>

namespace tremblix::testing {

// An edit control, alone or inside the combo box.
inline HWND FileNameBox(HWND chooser) {
  for (int id : {0x47c, 0x480}) {  // cmb13, edt1
    HWND item = GetDlgItem(chooser, id);
    if (!item) continue;
    HWND edit = FindWindowExW(item, nullptr, L"Edit", nullptr);
    return edit ? edit : item;
  }
  return nullptr;
}

}  // namespace tremblix::testing
