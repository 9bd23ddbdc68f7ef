#pragma once

#include "scene/FormaMain.h"

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

void ugasi_glavni_ekran(FormaMain& f);
void upali_glavni_ekran(FormaMain& f);
void glavni_ekran_zamrznut(FormaMain& f);
void glavni_ekran_odmrznut(FormaMain& f);
void galerijski_ekran_zamrznut(FormaMain& f);
void galerijski_ekran_odmrznut(FormaMain& f);
void galerijski_ekran_ugasi(FormaMain& f);

// Freezes or unfreezes the screen GalleryActive names; false for any other value.
bool freezeActiveScreen(FormaMain& f);
bool unfreezeActiveScreen(FormaMain& f);

} // namespace tintaro
