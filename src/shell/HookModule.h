// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "shell/FormaMain.h"

namespace tintaro {

// True to swallow the key: the Windows keys, the menu key, Shift and Alt
// themselves and every key pressed with Alt held, on the way down and up.
bool LowLevelKeyFilter(int key, bool altHeld);

// Applies the filter to a key event of the platform while the guard is
// installed; true when it is swallowed.
bool swallowedByGuard(const FormaMain& f, const Event& event);

} // namespace tintaro
