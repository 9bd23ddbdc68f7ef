#include "panels/ExitPanel.h"

#include "scene/ScreenStates.h"
#include "shell/Shutdown.h"

namespace tintaro {

void ShowExitPanel(FormaMain& f) {
    if (!freezeActiveScreen(f)) {
        return;
    }
    for (auto id : {ControlId::Izlaz, ControlId::Da, ControlId::Ne}) {
        f.scene.setVisible(id, true);
    }
}

namespace {

void clickNe(FormaMain& f) {
    if (f.state.GalleryActive != 0 && f.state.GalleryActive != 1) {
        return;
    }
    for (auto id : {ControlId::Da, ControlId::Ne, ControlId::Izlaz}) {
        f.scene.setVisible(id, false);
    }
    unfreezeActiveScreen(f);
}

} // namespace

void registerExitPanel(FormaMain& f) {
    f.handlers[ControlId::Ne].click = [&f] { clickNe(f); };
    f.handlers[ControlId::Da].click = [&f] { endFromExitConfirmation(f); };
}

} // namespace tintaro
