// SPDX-License-Identifier: GPL-3.0-or-later

#include "gallery/ThumbnailHighlight.h"

#include "gallery/GalleryTable.h"
#include "scene/StepFailed.h"

namespace tintaro {

namespace {

void moveOverGalerija(SceneContext& f, int n) {
    auto& s = f.state;
    if (s.GalleryActive != 1) {
        return;
    }
    f.scene.assignPicture(galerija(n), galleryEntry(n).highlightedPicture);
    const int k = s.HighlightedThumbnail;
    if (k != n && k >= 1 && k <= 25) {
        f.scene.assignPicture(galerija(k), galleryEntry(k).plainPicture);
    }
    s.HighlightedThumbnail = static_cast<std::int16_t>(n);
}

} // namespace

void mouse_move_galerija1_bele(SceneContext& f) {
    trapped([&] {
        const int k = f.state.HighlightedThumbnail;
        if (k >= 1 && k <= 25) {
            f.scene.assignPicture(galerija(k), galleryEntry(k).plainPicture);
        }
    });
}

void registerThumbnailHighlight(SceneContext& f) {
    for (int n = 1; n <= 25; ++n) {
        f.handlers[galerija(n)].mouseMove = [&f, n](const MouseArgs&) { moveOverGalerija(f, n); };
    }
    f.hooks.restHighlightedThumbnail = [&f] { mouse_move_galerija1_bele(f); };
}

} // namespace tintaro
