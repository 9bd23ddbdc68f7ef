// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "shell/FormaMain.h"

namespace tintaro {

// Leaves full screen and unloads the window; ends silently at a failing step.
void CloseProgram(FormaMain& f);

// The window's unload handler: removes the keyboard guard, closes the music down.
void unloadFormaMain(FormaMain& f);

// The way out through the exit confirmation: music, window, guard, end.
[[noreturn]] void endFromExitConfirmation(FormaMain& f);

// The window manager's close request, SIGTERM or SIGINT: only the unload handler runs.
[[noreturn]] void unloadedBySystem(FormaMain& f);

} // namespace tintaro
