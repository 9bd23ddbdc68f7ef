#pragma once

#include "scene/SceneContext.h"

#include <array>

namespace tintaro {

// The colouring screen's controls, always handled in this order.
inline constexpr std::array<ControlId, 20> kColouringScreen{
    ControlId::Slika,           ControlId::MoreImages,       ControlId::MuteWave,
    ControlId::MusicOn,         ControlId::Rubber,           ControlId::Papir,
    ControlId::kapljica,        ControlId::olovka,           ControlId::PaletaCrvena,
    ControlId::PaletaZelena,    ControlId::PaletaZuta,       ControlId::PaletaSvPlava,
    ControlId::PaletaOranz,     ControlId::PaletaLjubicasta, ControlId::PaletaSiva,
    ControlId::PaletaTamnozuta, ControlId::PaletaBraon,      ControlId::PaletaPlava,
    ControlId::PaletaCrna,      ControlId::PaletaPink,
};

void ugasi_glavni_ekran(SceneContext& f);
void upali_glavni_ekran(SceneContext& f);
void glavni_ekran_zamrznut(SceneContext& f);
void glavni_ekran_odmrznut(SceneContext& f);
void galerijski_ekran_zamrznut(SceneContext& f);
void galerijski_ekran_odmrznut(SceneContext& f);
void galerijski_ekran_ugasi(SceneContext& f);

// Freezes or unfreezes the screen GalleryActive names; false for any other value.
bool freezeActiveScreen(SceneContext& f);
bool unfreezeActiveScreen(SceneContext& f);

} // namespace tintaro
