// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "audio/Music.h"
#include "panels/Printing.h"
#include "scene/SceneContext.h"

namespace tintaro {

// Thrown to end the program at once: no further handler runs, nested waits
// unwind, and the process exits with `status`.
struct ProgramEnd {
    int status = 0;
};

// The window as a whole: the context every handler works on, and the
// objects the audio, the panels and the shell keep until it unloads.
class FormaMain : public SceneContext {
  public:
    explicit FormaMain(Platform& p) : SceneContext(p) {}

    MusicObjects music;
    PanelsState panels;
    bool displaySwitched = false; // the full-screen switch ran
    bool unloaded = false;
    // What the desktop last said of the keyboard guard's hold.
    GuardState guard = GuardState::NotHeld;
};

} // namespace tintaro
