#pragma once

#include "scene/FormaMain.h"

namespace tintaro {

// Gives every element of the window its handlers.
void registerHandlers(FormaMain& f);

// Creates the window, runs the start-up sequence and then the event loop
// until the program ends; returns the exit status.
int runProgram(Platform& platform);

} // namespace tintaro
