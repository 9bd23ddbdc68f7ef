// SPDX-License-Identifier: GPL-3.0-or-later

#include "scene/ScreenStates.h"

#include "scene/StepFailed.h"

namespace tintaro {

namespace {

// Back, then the thumbnails in numeric order.
template <class Apply> void forGalleryControls(Apply apply) {
    for (auto id : kGalleryScreen) {
        apply(id);
    }
}

// Freezing hides Papir rather than disabling it; the others stay visible.
void setColouringFrozen(SceneContext& f, bool frozen) {
    for (auto id : kColouringScreen) {
        if (id == ControlId::Papir) {
            f.scene.setVisible(id, !frozen);
        } else {
            f.scene.setEnabled(id, !frozen);
        }
    }
}

} // namespace

void ugasi_glavni_ekran(SceneContext& f) {
    for (auto id : kColouringScreen) {
        f.scene.setVisible(id, false);
    }
}

void upali_glavni_ekran(SceneContext& f) {
    for (auto id : kColouringScreen) {
        f.scene.setVisible(id, true);
    }
}

void glavni_ekran_zamrznut(SceneContext& f) {
    setColouringFrozen(f, true);
}
void glavni_ekran_odmrznut(SceneContext& f) {
    setColouringFrozen(f, false);
}

void galerijski_ekran_zamrznut(SceneContext& f) {
    forGalleryControls([&](ControlId id) { f.scene.setEnabled(id, false); });
}

void galerijski_ekran_odmrznut(SceneContext& f) {
    forGalleryControls([&](ControlId id) { f.scene.setEnabled(id, true); });
}

void galerijski_ekran_ugasi(SceneContext& f) {
    trapped([&] {
        forGalleryControls([&](ControlId id) { f.scene.setVisible(id, false); });
        f.scene.assignBackground(picturePath("GLAVNA.JPG"));
    });
}

bool freezeActiveScreen(SceneContext& f) {
    if (f.state.GalleryActive == 0) {
        glavni_ekran_zamrznut(f);
    } else if (f.state.GalleryActive == 1) {
        galerijski_ekran_zamrznut(f);
    } else {
        return false;
    }
    return true;
}

bool unfreezeActiveScreen(SceneContext& f) {
    if (f.state.GalleryActive == 0) {
        glavni_ekran_odmrznut(f);
    } else if (f.state.GalleryActive == 1) {
        galerijski_ekran_odmrznut(f);
    } else {
        return false;
    }
    return true;
}

} // namespace tintaro
