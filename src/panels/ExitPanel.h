#pragma once

#include "scene/SceneContext.h"

namespace tintaro {

void ShowExitPanel(SceneContext& f);
void registerExitPanel(SceneContext& f);

} // namespace tintaro
