#pragma once

#include "colouring/ColourTable.h"
#include "scene/FormaMain.h"

namespace tintaro {

void registerPalette(FormaMain& f);

void gasi_boje_3_faze(FormaMain& f);
// Button k (1..12) takes its selected face when its colour was chosen last, else its normal face.
void restPaletteButton(FormaMain& f, int k);

} // namespace tintaro
