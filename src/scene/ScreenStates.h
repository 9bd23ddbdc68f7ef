// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "scene/SceneContext.h"

#include <array>

namespace tintaro {

// Each screen's controls, always handled in this order (the table's screen order).
inline constexpr auto kColouringScreen = screenControls<Place::Colouring>();
inline constexpr auto kGalleryScreen = screenControls<Place::Gallery>();

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
