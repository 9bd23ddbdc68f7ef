#pragma once

#include "scene/FormaMain.h"

namespace tintaro {

// The 25 thumbnail clicks: thumbnail n puts drawing n on the canvas.
void registerPictureSelection(FormaMain& f);

} // namespace tintaro
