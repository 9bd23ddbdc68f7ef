// SPDX-License-Identifier: GPL-3.0-or-later

#include "panels/ExitPanel.h"

#include "scene/ScreenStates.h"

namespace tintaro {

void ShowExitPanel(SceneContext& f) {
    if (!freezeActiveScreen(f)) {
        return;
    }
    for (auto id : {ControlId::Izlaz, ControlId::Da, ControlId::Ne}) {
        f.scene.setVisible(id, true);
    }
}

namespace {

void clickNe(SceneContext& f) {
    if (f.state.GalleryActive != 0 && f.state.GalleryActive != 1) {
        return;
    }
    for (auto id : {ControlId::Da, ControlId::Ne, ControlId::Izlaz}) {
        f.scene.setVisible(id, false);
    }
    unfreezeActiveScreen(f);
}

} // namespace

void registerExitPanel(SceneContext& f) {
    f.handlers[ControlId::Ne].click = [&f] { clickNe(f); };
    f.handlers[ControlId::Da].click = [&f] { callHook(f.hooks.endFromExitConfirmation); };
}

} // namespace tintaro
