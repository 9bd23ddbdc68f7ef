// SPDX-License-Identifier: GPL-3.0-or-later

#include "gallery/GalleryScreen.h"

#include "gallery/GalleryTable.h"
#include "scene/ScreenStates.h"
#include "scene/StepFailed.h"

namespace tintaro {

void Prikazi_More_Images(SceneContext& f) {
    trapped([&] {
        f.scene.setVisible(ControlId::Back, true);
        f.scene.assignBackground(picturePath("GALERIJA.JPG"));
    });
}

void Galerijske_pozicije(SceneContext& f) {
    for (int n = 1; n <= 25; ++n) {
        const auto entry = galleryEntry(n);
        f.scene.move(galerija(n), entry.left, entry.top);
    }
}

void Prikaz_Prve_Galerije(SceneContext& f) {
    trapped([&] {
        f.state.GalleryActive = 1;
        for (int n = 1; n <= 25; ++n) {
            f.scene.assignPicture(galerija(n), galleryEntry(n).plainPicture);
            f.scene.setVisible(galerija(n), true);
        }
    });
}

namespace {

void clickMoreImages(SceneContext& f) {
    ugasi_glavni_ekran(f);
    Prikazi_More_Images(f);
    Galerijske_pozicije(f);
    Prikaz_Prve_Galerije(f);
}

void clickBack(SceneContext& f) {
    galerijski_ekran_ugasi(f);
    upali_glavni_ekran(f);
    f.state.GalleryActive = 0;
}

} // namespace

void registerGalleryScreen(SceneContext& f) {
    f.handlers[ControlId::MoreImages].click = [&f] { clickMoreImages(f); };
    f.handlers[ControlId::Back].click = [&f] { clickBack(f); };
}

} // namespace tintaro
