// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "scene/SceneContext.h"

#include <string>

namespace tintaro {

// What the panels keep between handlers.
struct PanelsState {
    bool printing = false; // a print is waiting in its pause
};

// Prints the canvas as shown on the default printer, after three seconds of notice.
void PrintPicture(SceneContext& f, PanelsState& panels);

// MY_PICTURE under the application directory, or under the user's cache
// directory when the application directory is not writable (an installed copy).
std::string scratchDirectory(SceneContext& f);

} // namespace tintaro
