#include "saver/common/power.h"

namespace tremblix {

bool DisplayIsOn(uint32_t state) { return state != 0; }

void PowerWatch::Resumed(bool by_person) {
  suspended_ = false;
  if (by_person) display_on_ = true;
}

void PowerWatch::SessionChanged(uintptr_t event) {
  switch (event) {
    case kSessionConsoleConnect:
    case kSessionRemoteConnect:
      connected_ = true;
      break;
    case kSessionConsoleDisconnect:
    case kSessionRemoteDisconnect:
      connected_ = false;
      break;
    case kSessionLock:
      locked_ = true;
      break;
    case kSessionUnlock:
      locked_ = false;
      break;
  }
}

}  // namespace tremblix
