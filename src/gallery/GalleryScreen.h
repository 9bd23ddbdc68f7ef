// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "scene/SceneContext.h"

namespace tintaro {

void registerGalleryScreen(SceneContext& f);

void Prikazi_More_Images(SceneContext& f);
void Galerijske_pozicije(SceneContext& f);
void Prikaz_Prve_Galerije(SceneContext& f);

} // namespace tintaro
