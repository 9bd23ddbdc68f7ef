#include "colouring/Palette.h"

#include "audio/SoundEffects.h"

#include <string>

namespace tintaro {

namespace {

enum class Face { Normal, Hover, Selected };

void setFace(FormaMain& f, int k, Face face) {
    const ControlId id = ColourTable[k - 1].control;
    const Faces& faces = controlSpec(id).faces;
    const std::string_view file = face == Face::Normal  ? faces.always.resting
                                  : face == Face::Hover ? faces.always.hover
                                                        : faces.selected;
    f.scene.assignPicture(id, f.picture(std::string(file)));
}

bool selected(const FormaMain& f, int k) {
    return f.state.PaletteSelected[k - 1] == 1;
}

void clickPaleta(FormaMain& f, int k) {
    f.state.CurrentColor = static_cast<std::int32_t>(ColourTable[k - 1].value);
    requestEffect(f, ColourTable[k - 1].sound);
    gasi_boje_3_faze(f);
    f.state.PaletteSelected[k - 1] = 1;
    for (int j = 1; j <= 12; ++j) {
        restPaletteButton(f, j);
    }
}

// A selected button shows no hover face; only the two neighbours are rested.
void moveOverPaleta(FormaMain& f, int k) {
    setFace(f, k, selected(f, k) ? Face::Selected : Face::Hover);
    if (k > 1) {
        restPaletteButton(f, k - 1);
    }
    if (k < 12) {
        restPaletteButton(f, k + 1);
    }
}

} // namespace

void gasi_boje_3_faze(FormaMain& f) {
    f.state.PaletteSelected.fill(0);
}

void restPaletteButton(FormaMain& f, int k) {
    setFace(f, k, selected(f, k) ? Face::Selected : Face::Normal);
}

void registerPalette(FormaMain& f) {
    for (int k = 1; k <= 12; ++k) {
        auto& h = f.handlers[ColourTable[k - 1].control];
        h.click = [&f, k] { clickPaleta(f, k); };
        h.mouseMove = [&f, k](const MouseArgs&) { moveOverPaleta(f, k); };
    }
}

} // namespace tintaro
