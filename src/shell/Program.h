// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "shell/FormaMain.h"

namespace tintaro {

// Gives every element of the window its handlers.
void registerHandlers(FormaMain& f);

// Creates the window, runs the start-up sequence and then the event loop
// until the program ends; returns the exit status. Returns 0 at once, having
// touched nothing, when another copy is running.
int runProgram(Platform& platform);

} // namespace tintaro
