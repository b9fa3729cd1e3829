#include "saver/common/power.h"

namespace tremblix {

bool DisplayIsOn(uint32_t state) { return state != 0; }

}  // namespace tremblix
