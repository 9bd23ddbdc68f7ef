// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "scene/SceneContext.h"

namespace tintaro {

// The pointer-movement handlers that give buttons their hover and resting faces.
void registerHoverFaces(SceneContext& f);

// The window is back in front (restored, or given the focus again): the
// web buttons that sent it away rest, since the pointer that lit them has
// been elsewhere since.
void restWebButtons(SceneContext& f);

// The canvas's share: rests the right-hand buttons (the pencil branch is the canvas's own).
void restAroundCanvas(SceneContext& f);

} // namespace tintaro
