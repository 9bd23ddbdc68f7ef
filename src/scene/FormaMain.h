#pragma once

#include "platform/AppPath.h"
#include "platform/Platform.h"
#include "scene/EventRouter.h"
#include "scene/Handlers.h"
#include "scene/ProgramState.h"
#include "scene/Scene.h"

#include <string>

namespace tintaro {

// Thrown to end the program at once: no further handler runs, nested waits
// unwind, and the process exits with `status`.
struct ProgramEnd {
    int status = 0;
};

// The music player's objects as the window holds them: which exist yet.
struct MusicObjects {
    bool DxRoot = false;
    bool MusicPerformance = false;
    bool MusicSegment = false;
    bool MusicSegmentState = false;
};

// The window: its scene, the shared program state, the handler tables every
// subsystem registers into, and the objects it holds until it unloads.
class FormaMain {
  public:
    explicit FormaMain(Platform& p) : platform(p), scene(p), router(scene, handlers, p.window) {}
    FormaMain(const FormaMain&) = delete;
    FormaMain& operator=(const FormaMain&) = delete;

    Platform& platform;
    ProgramState state;
    Scene scene;
    HandlerTable handlers;
    EventRouter router;
    MusicObjects music;
    bool displaySwitched = false; // the full-screen switch ran
    bool unloaded = false;
    bool printing = false; // a print is waiting in its pause
    double timerDue = 0;   // monotonic time of tmrRepeat's next tick

    void enableTimer(bool enabled) {
        if (enabled && !scene.timerEnabled) {
            timerDue = platform.clock.monotonicSeconds() + 0.5;
        }
        scene.timerEnabled = enabled;
    }
    std::string picture(const std::string& file) const { return "\\PICTURE\\" + file; }
    // A file of the application directory by its fixed relative path.
    std::string appFile(std::string_view relative) const { return joinPath(state.AppPath, relative); }
};

} // namespace tintaro
