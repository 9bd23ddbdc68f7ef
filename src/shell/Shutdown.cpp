// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/Shutdown.h"

#include "audio/Music.h"
#include "scene/StepFailed.h"

namespace tintaro {

void unloadFormaMain(FormaMain& f) {
    trapped([&] {
        // A removal that fails (the guard is already gone) is no error: its
        // answer is ignored and the music is closed down all the same. The
        // handle is not cleared, so a later removal attempt simply fails.
        if (f.state.KeyboardHookHandle != 0) {
            f.platform.guard.remove(f.state.KeyboardHookHandle);
        }
        closeDownMusic(f, f.music);
    });
    if (!f.unloaded) {
        f.unloaded = true;
        f.platform.window.destroy();
    }
}

void CloseProgram(FormaMain& f) {
    trapped([&] {
        // Without a display switch there is nothing to restore, and the
        // unload does not happen either; the guard is still removed by the caller.
        if (!f.displaySwitched) {
            throw StepFailed{};
        }
        f.platform.window.leaveFullScreen();
        unloadFormaMain(f);
    });
}

void endFromExitConfirmation(FormaMain& f) {
    if (f.state.MusicPlaying == 1) {
        StopMusic(f);
    }
    CloseProgram(f);
    if (f.state.KeyboardHookHandle != 0) {
        f.platform.guard.remove(f.state.KeyboardHookHandle);
    }
    throw ProgramEnd{0};
}

void unloadedBySystem(FormaMain& f) {
    unloadFormaMain(f);
    throw ProgramEnd{0};
}

} // namespace tintaro
