// The owner of the settings dialog and of the missing-renderer message, as
// ChooseOwner picks it from the real windows.
#pragma once

#include <windows.h>

#include <cstdint>

namespace tremblix {

// Null when there is to be no owner.
HWND OwnerFor(int32_t named_handle);

}  // namespace tremblix
