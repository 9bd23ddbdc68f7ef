// SPDX-License-Identifier: GPL-3.0-or-later

#include "panels/InfoPanel.h"

#include "scene/ScreenStates.h"

#include <string>

namespace tintaro {

void ShowInfoPanel(SceneContext& f) {
    if (!freezeActiveScreen(f)) {
        return;
    }
    for (auto id : {ControlId::Registered, ControlId::visit_site, ControlId::Firma, ControlId::Zatvori}) {
        f.scene.setVisible(id, true);
    }
}

namespace {

void clickZatvori(SceneContext& f) {
    if (f.state.GalleryActive != 0 && f.state.GalleryActive != 1) {
        return;
    }
    for (auto id : {ControlId::Registered, ControlId::visit_site, ControlId::Firma, ControlId::Zatvori}) {
        f.scene.setVisible(id, false);
    }
    unfreezeActiveScreen(f);
}

// The window goes out of the way first, so the browser comes up in front;
// the panel stays open for when the window is brought back.
void openPage(SceneContext& f, std::string_view url) {
    f.platform.window.minimise();
    f.platform.processes.openUrl(std::string(url));
}

} // namespace

void registerInfoPanel(SceneContext& f) {
    f.handlers[ControlId::Zatvori].click = [&f] { clickZatvori(f); };
    f.handlers[ControlId::visit_site].click = [&f] { openPage(f, ProductPageUrl); };
    f.handlers[ControlId::Firma].click = [&f] { openPage(f, MakerPageUrl); };
}

} // namespace tintaro
