#pragma once

#include "scene/FormaMain.h"

namespace tintaro {

// The window's load handler: the start-up sequence.
void loadFormaMain(FormaMain& f);

} // namespace tintaro
