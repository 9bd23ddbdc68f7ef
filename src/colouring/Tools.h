#pragma once

#include "scene/FormaMain.h"

namespace tintaro {

// The fill bucket and the pencil buttons.
void registerTools(FormaMain& f);

} // namespace tintaro
