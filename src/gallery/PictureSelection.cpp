// SPDX-License-Identifier: GPL-3.0-or-later

#include "gallery/PictureSelection.h"

#include "gallery/GalleryTable.h"
#include "scene/ScreenStates.h"

namespace tintaro {

namespace {

void clickGalerija(SceneContext& f, int n) {
    if (f.state.GalleryActive == 1) {
        f.scene.setCanvasPicture(galleryEntry(n).drawing);
        f.state.CurrentPictureNo = static_cast<std::int16_t>(n);
        f.state.GalleryActive = 0;
    }
    galerijski_ekran_ugasi(f);
    upali_glavni_ekran(f);
}

} // namespace

void registerPictureSelection(SceneContext& f) {
    for (int n = 1; n <= 25; ++n) {
        f.handlers[galerija(n)].click = [&f, n] { clickGalerija(f, n); };
    }
}

} // namespace tintaro
