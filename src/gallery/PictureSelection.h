// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "scene/SceneContext.h"

namespace tintaro {

// The 25 thumbnail clicks: thumbnail n puts drawing n on the canvas.
void registerPictureSelection(SceneContext& f);

} // namespace tintaro
