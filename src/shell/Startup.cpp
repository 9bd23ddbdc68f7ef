// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/Startup.h"

#include "scene/StepFailed.h"
#include "shell/AssetCheck.h"
#include "shell/EventLoop.h"

namespace tintaro {

namespace {

void showWindow(FormaMain& f) {
    f.platform.window.show();
    f.router.windowShown();
    f.scene.invalidateAll();
    f.scene.present();
}

void startupSequence(FormaMain& f) {
    auto& s = f.state;
    auto& p = f.platform;
    s.KeyboardHookHandle = p.guard.install();
    const std::string directory = p.files.executableDirectory();
    // The directory is used as it is: upper-casing it would point every asset
    // path nowhere on a case-sensitive file system.
    s.AppPath = directory;
    if (!p.files.setCurrentDirectory(s.AppPath)) {
        throw StepFailed{};
    }
    s.FillToolActive = -1;
    p.window.hide();
    // The splash is decoration: when it cannot start (missing, not
    // executable, built for another machine) the rest of the start-up still
    // runs, or the window would stay small and every fill paint black.
    p.processes.start(f.localPath(assetPath(AssetFolder::Root, kCompanionFile)));
    StartupPause(f);
    showWindow(f);
    VerifyAssetFiles(f);
    s.CurrentColor = 255;
    s.MusicOnFlag = 1;
    s.SoundOnFlag = 1;
    s.SoundOn = 1;
    s.GalleryActive = 0;
    s.CurrentPictureNo = 1;
    s.PaletteSelected[0] = 0;
    if (!p.window.enterFullScreen()) {
        throw StepFailed{};
    }
    f.displaySwitched = true;
    StartupPause(f);
}

} // namespace

void loadFormaMain(FormaMain& f) {
    trapped([&] { startupSequence(f); });
    // The window is shown at the end of the load in any case.
    showWindow(f);
}

} // namespace tintaro
