// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "colouring/ColourTable.h"
#include "scene/SceneContext.h"

namespace tintaro {

void registerPalette(SceneContext& f);

void gasi_boje_3_faze(SceneContext& f);
// Button k (1..12) takes its selected face when its colour was chosen last, else its normal face.
void restPaletteButton(SceneContext& f, int k);

} // namespace tintaro
