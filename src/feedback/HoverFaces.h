#pragma once

#include "scene/SceneContext.h"

namespace tintaro {

// The pointer-movement handlers that give buttons their hover and resting faces.
void registerHoverFaces(SceneContext& f);

// The canvas's share: rests the right-hand buttons (the pencil branch is the canvas's own).
void restAroundCanvas(SceneContext& f);

} // namespace tintaro
