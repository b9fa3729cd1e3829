// The companion's life in the user's session: Tremblix.scr /w.
#pragma once

namespace tremblix {

// One per session: a second start ends at once. Returns when the session
// ends or the companion is closed.
void RunCompanion();

}  // namespace tremblix
