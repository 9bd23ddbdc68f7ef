#pragma once

#include "scene/FormaMain.h"

namespace tintaro {

// The blank-page and eraser buttons.
void registerEraser(FormaMain& f);

// Wipes the canvas white in one of eight animated patterns, then shows the blank page.
void brisanje_slika(FormaMain& f);

// A full pass of 450,000 steps takes about one second, at one constant pace.
inline constexpr double kWipeStepsPerSecond = 450000.0;
inline constexpr double kWipeFrameSeconds = 1.0 / 60.0;

} // namespace tintaro
