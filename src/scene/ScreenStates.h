#pragma once

#include "scene/FormaMain.h"

#include <array>

namespace tintaro {

// Each screen's controls, always handled in this order (the table's screen order).
inline constexpr auto kColouringScreen = screenControls<Place::Colouring>();
inline constexpr auto kGalleryScreen = screenControls<Place::Gallery>();

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
