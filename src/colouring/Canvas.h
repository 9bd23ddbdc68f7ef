// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "scene/SceneContext.h"

namespace tintaro {

// The canvas press (fill bucket) and movement (pencil) handlers.
void registerCanvas(SceneContext& f);

// Pointer positions become canvas pixels rounded to the nearest, ties to even.
int toCanvasPixel(float v);

} // namespace tintaro
