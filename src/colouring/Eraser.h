// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "scene/SceneContext.h"

namespace tintaro {

// The blank-page and eraser buttons.
void registerEraser(SceneContext& f);

// Wipes the canvas white in one of eight animated patterns, then shows the blank page.
void brisanje_slika(SceneContext& f);

// A full pass of 450,000 steps takes about one second, at one constant pace.
inline constexpr double kWipeStepsPerSecond = 450000.0;
inline constexpr double kWipeFrameSeconds = 1.0 / 60.0;

} // namespace tintaro
