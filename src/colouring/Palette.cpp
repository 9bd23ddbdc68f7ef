// SPDX-License-Identifier: GPL-3.0-or-later

#include "colouring/Palette.h"

#include "scene/AssetPaths.h"
#include "scene/Effects.h"

#include <string>

namespace tintaro {

namespace {

enum class Face { Normal, Hover, Selected };

void setFace(SceneContext& f, int k, Face face) {
    const ControlId id = ColourTable[k - 1].control;
    const Faces& faces = controlSpec(id).faces;
    const std::string_view file = face == Face::Normal  ? faces.always.resting
                                  : face == Face::Hover ? faces.always.hover
                                                        : faces.selected;
    f.scene.assignPicture(id, picturePath(std::string(file)));
}

bool selected(const SceneContext& f, int k) {
    return f.state.PaletteSelected[k - 1] == 1;
}

void clickPaleta(SceneContext& f, int k) {
    f.state.CurrentColor = static_cast<std::int32_t>(ColourTable[k - 1].value);
    requestEffect(f, ColourTable[k - 1].sound);
    gasi_boje_3_faze(f);
    f.state.PaletteSelected[k - 1] = 1;
    for (int j = 1; j <= 12; ++j) {
        restPaletteButton(f, j);
    }
}

// A selected button shows no hover face; only the two neighbours are rested.
void moveOverPaleta(SceneContext& f, int k) {
    setFace(f, k, selected(f, k) ? Face::Selected : Face::Hover);
    if (k > 1) {
        restPaletteButton(f, k - 1);
    }
    if (k < 12) {
        restPaletteButton(f, k + 1);
    }
}

} // namespace

void gasi_boje_3_faze(SceneContext& f) {
    f.state.PaletteSelected.fill(0);
}

void restPaletteButton(SceneContext& f, int k) {
    setFace(f, k, selected(f, k) ? Face::Selected : Face::Normal);
}

void registerPalette(SceneContext& f) {
    for (int k = 1; k <= 12; ++k) {
        auto& h = f.handlers[ColourTable[k - 1].control];
        h.click = [&f, k] { clickPaleta(f, k); };
        h.mouseMove = [&f, k](const MouseArgs&) { moveOverPaleta(f, k); };
    }
    f.hooks.restPalette = [&f] {
        for (int k = 1; k <= 12; ++k) {
            restPaletteButton(f, k);
        }
    };
}

} // namespace tintaro
