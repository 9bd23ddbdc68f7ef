// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "scene/SceneContext.h"

namespace tintaro {

void registerThumbnailHighlight(SceneContext& f);

// Gives the thumbnail highlighted last its plain picture again.
void mouse_move_galerija1_bele(SceneContext& f);

} // namespace tintaro
