// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/pictures/Picture.h"

namespace tintaro {

// Shows the picture natively on a Wayland desktop, in a window of the
// colouring book's own (app id "tintaro") that holds the desktop's
// shortcuts while it shows, for `showMs`. False when no compositor answers.
bool showWaylandSplash(const Picture& picture, long long showMs);

} // namespace tintaro
