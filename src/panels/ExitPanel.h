// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "scene/SceneContext.h"

namespace tintaro {

void ShowExitPanel(SceneContext& f);
void registerExitPanel(SceneContext& f);

} // namespace tintaro
