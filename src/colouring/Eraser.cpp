// SPDX-License-Identifier: GPL-3.0-or-later

#include "colouring/Eraser.h"

#include "colouring/WipePasses.h"
#include "scene/Effects.h"

#include <algorithm>
#include <cstdio>

namespace tintaro {

namespace {

// n = int(9 r), drawn again while 0, re-seeding after every draw: 1..8 equally likely.
int choosePattern(Random& random) {
    int n = 0;
    do {
        n = static_cast<int>(9.0 * random.next());
        random.reseedFromClock();
    } while (n == 0);
    return n;
}

// Paints the passes in order at a constant pace, presenting a frame at the
// display's rate so the child sees the sweep. Input waits until it is done.
void animateWipe(SceneContext& f, const std::vector<WipePass>& passes) {
    auto& clock = f.platform.clock;
    auto& canvas = f.scene.canvas();
    const double start = clock.monotonicSeconds();
    long done = 0; // steps painted across all passes
    long total = 0;
    for (auto pass : passes) {
        total += passSteps(pass, canvas.width, canvas.height);
    }
    for (int frame = 1; done < total; ++frame) {
        const long target =
            std::min<long>(total, static_cast<long>(frame * kWipeFrameSeconds * kWipeStepsPerSecond));
        long passStart = 0;
        for (auto pass : passes) {
            const long steps = passSteps(pass, canvas.width, canvas.height);
            const long first = std::max(done, passStart) - passStart;
            const long last = std::min(target, passStart + steps) - passStart;
            if (first < last) {
                f.scene.canvasChanged(runPassSteps(canvas, pass, first, last));
            }
            passStart += steps;
        }
        done = target;
        f.scene.present();
        clock.sleepUntil(start + frame * kWipeFrameSeconds);
    }
}

void clickPapir(SceneContext& f) {
    brisanje_slika(f);
}

void clickRubber(SceneContext& f) {
    brisanje_slika(f);
    const int n = f.state.CurrentPictureNo;
    if (n >= 1 && n <= 25) {
        char file[8];
        std::snprintf(file, sizeof file, "%02d.GIF", n);
        f.scene.setCanvasPicture(picturePath(file));
    }
}

} // namespace

void brisanje_slika(SceneContext& f) {
    const int pattern = choosePattern(f.platform.random);
    requestEffect(f, SoundEffectTable::Wipe);
    animateWipe(f, wipePattern(pattern));
    f.scene.setCanvasPicture(picturePath(kBlankPageFile));
}

void registerEraser(SceneContext& f) {
    f.handlers[ControlId::Papir].click = [&f] { clickPapir(f); };
    f.handlers[ControlId::Rubber].click = [&f] { clickRubber(f); };
}

} // namespace tintaro
