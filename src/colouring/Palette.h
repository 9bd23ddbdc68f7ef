#pragma once

#include "scene/SceneContext.h"

#include <array>
#include <string_view>

namespace tintaro {

struct ColourRow {
    ControlId control;
    Colour value;
    std::string_view sound;
};

// Index 1..12 from left to right is row index + 1.
extern const std::array<ColourRow, 12> ColourTable;

void registerPalette(SceneContext& f);

void gasi_boje_3_faze(SceneContext& f);
// Button k (1..12) takes its selected face when its colour was chosen last, else its normal face.
void restPaletteButton(SceneContext& f, int k);

} // namespace tintaro
