// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Image.h"
#include "scene/ControlTable.h"

#include <array>
#include <string_view>

namespace tintaro {

struct ColourRow {
    ControlId control;
    Colour value;
    std::string_view sound; // file in SOUND
};

// The twelve colours of the palette, left to right: index 1..12 is row index + 1.
inline constexpr std::array<ColourRow, 12> ColourTable{{
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

} // namespace tintaro
