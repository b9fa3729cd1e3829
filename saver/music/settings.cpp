#include "saver/music/settings.h"

namespace tremblix {

SettingsRecord Settings;

}  // namespace tremblix
