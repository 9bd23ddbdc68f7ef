// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "scene/SceneContext.h"

namespace tintaro {

// The fill bucket and the pencil buttons.
void registerTools(SceneContext& f);

} // namespace tintaro
