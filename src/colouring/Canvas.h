#pragma once

#include "scene/FormaMain.h"

namespace tintaro {

// The canvas press (fill bucket) and movement (pencil) handlers.
void registerCanvas(FormaMain& f);

// Pointer positions become canvas pixels rounded to the nearest, ties to even.
int toCanvasPixel(float v);

} // namespace tintaro
