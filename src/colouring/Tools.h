#pragma once

#include "scene/SceneContext.h"

namespace tintaro {

// The fill bucket and the pencil buttons.
void registerTools(SceneContext& f);

} // namespace tintaro
