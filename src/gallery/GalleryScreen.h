#pragma once

#include "scene/FormaMain.h"

namespace tintaro {

void registerGalleryScreen(FormaMain& f);

void Prikazi_More_Images(FormaMain& f);
void Galerijske_pozicije(FormaMain& f);
void Prikaz_Prve_Galerije(FormaMain& f);

} // namespace tintaro
