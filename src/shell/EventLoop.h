// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "shell/FormaMain.h"

namespace tintaro {

// Hands one platform event to the guard, the router or the shutdown path.
void dispatchEvent(FormaMain& f, const Event& event);

// Delivers events until the monotonic clock reaches `until` (forever when
// negative), running tmrRepeat when it is due and presenting what changed.
void deliverEvents(FormaMain& f, double until);

// Waits three seconds on the monotonic clock while events go on being delivered.
void StartupPause(FormaMain& f);

} // namespace tintaro
