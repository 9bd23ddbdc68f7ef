// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/Shortcuts.h"

#include "panels/ExitPanel.h"
#include "panels/InfoPanel.h"
#include "panels/Printing.h"
#include "scene/ScreenStates.h"
#include "scene/StepFailed.h"

#include <array>

namespace tintaro {

namespace {

constexpr int kCtrlAlone = kCtrl;

void printPicture(FormaMain& f) {
    PrintPicture(f, f.panels);
}
void showExitPanel(FormaMain& f) {
    ShowExitPanel(f);
}
void showInfoPanel(FormaMain& f) {
    ShowInfoPanel(f);
}

struct Shortcut {
    int key;
    void (*run)(FormaMain&);
};

constexpr std::array<Shortcut, 3> kShortcuts{{
    {'P', printPicture},
    {'X', showExitPanel},
    {'R', showInfoPanel},
}};

void keyDown(FormaMain& f, int key, int shift) {
    trapped([&] {
        for (const auto& s : kShortcuts) {
            if (key == s.key && shift == kCtrlAlone) {
                s.run(f);
            }
        }
    });
}

} // namespace

void registerShortcuts(FormaMain& f) {
    auto handler = [&f](int key, int shift) { keyDown(f, key, shift); };
    f.handlers.window.keyDown = handler;
    for (auto id : kColouringScreen) {
        f.handlers[id].keyDown = handler;
    }
}

} // namespace tintaro
