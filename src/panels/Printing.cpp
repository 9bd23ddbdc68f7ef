// SPDX-License-Identifier: GPL-3.0-or-later

#include "panels/Printing.h"

#include "scene/StepFailed.h"

namespace tintaro {

namespace {

void require(bool ok) {
    if (!ok) {
        throw StepFailed{};
    }
}

// Marks a print as under way for as long as it runs, however it ends.
struct PrintUnderWay {
    explicit PrintUnderWay(PanelsState& panels) : m_panels(panels) { m_panels.printing = true; }
    ~PrintUnderWay() { m_panels.printing = false; }
    PrintUnderWay(const PrintUnderWay&) = delete;
    PrintUnderWay& operator=(const PrintUnderWay&) = delete;

  private:
    PanelsState& m_panels;
};

} // namespace

std::string scratchDirectory(SceneContext& f) {
    auto& files = f.platform.files;
    const std::string beside = f.localPath(assetFolder(AssetFolder::MyPicture));
    if (files.isWritableDirectory(beside)) {
        return beside;
    }
    const std::string cache = joinPath(files.userCacheDirectory(), assetFolder(AssetFolder::MyPicture));
    files.makeDirectories(cache);
    return cache;
}

void PrintPicture(SceneContext& f, PanelsState& panels) {
    // A Ctrl+P during the notice's pause (a held key repeats) is ignored, so prints never stack.
    if (panels.printing) {
        return;
    }
    PrintUnderWay underWay(panels);
    // The canvas image is exactly what the canvas shows, all 750 x 600 pixels.
    const Image shown = f.scene.canvas();
    const std::string scratch = joinPath(scratchDirectory(f), assetPath(AssetFolder::Root, kSnapshotFile));
    auto encoded = f.platform.codec.encodeLossless(shown);
    require(encoded.has_value());
    require(f.platform.files.writeAtomically(scratch, *encoded));
    auto readBack = f.scene.pictures().decodeFile(scratch);
    require(readBack.has_value());
    f.scene.setCanvasImage(*readBack);
    // The page shows the picture read back from the scratch file: what was on
    // the screen at Ctrl+P. Handlers that run during the notice may colour the
    // canvas further; the canvas keeps that, the page does not.
    const Image picture = f.scene.canvas();
    f.scene.setVisible(ControlId::PrintPict, true);
    f.scene.present();
    callHook(f.hooks.pause);
    f.scene.setVisible(ControlId::PrintPict, false);
    f.scene.present();
    require(f.platform.printer.print(picture));
}

} // namespace tintaro
