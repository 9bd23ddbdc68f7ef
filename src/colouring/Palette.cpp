#include "colouring/Palette.h"

#include "scene/Effects.h"

#include <cstdio>
#include <string>

namespace tintaro {

const std::array<ColourRow, 12> ColourTable{{
    {ControlId::PaletaCrvena, rgb(255, 0, 0), "CRVENA.WAV"},
    {ControlId::PaletaZelena, rgb(52, 204, 103), "ZELENA.WAV"},
    {ControlId::PaletaZuta, rgb(255, 255, 0), "ZUTA.WAV"},
    {ControlId::PaletaSvPlava, rgb(0, 204, 255), "SVPLAVA.WAV"},
    {ControlId::PaletaOranz, rgb(255, 102, 0), "ORANZ.WAV"},
    {ControlId::PaletaLjubicasta, rgb(204, 51, 255), "LJUBICASTA.WAV"},
    {ControlId::PaletaSiva, rgb(178, 178, 178), "SIVA.WAV"},
    {ControlId::PaletaTamnozuta, rgb(255, 255, 255), "TAMNOZUTA.WAV"},
    {ControlId::PaletaBraon, rgb(204, 103, 51), "BRAON.WAV"},
    {ControlId::PaletaPlava, rgb(0, 0, 255), "PLAVA.WAV"},
    {ControlId::PaletaCrna, rgb(30, 30, 30), "CRNA.WAV"},
    {ControlId::PaletaPink, rgb(255, 0, 255), "PINK.WAV"},
}};

namespace {

enum class Face { Normal = 1, Hover = 2, Selected = 3 };

void setFace(SceneContext& f, int k, Face face) {
    char file[16];
    std::snprintf(file, sizeof file, "BOJE%d_%02d.JPG", static_cast<int>(face), k);
    f.scene.assignPicture(ColourTable[k - 1].control, picturePath(file));
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
