// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/AppPath.h"
#include "platform/Platform.h"
#include "scene/AssetPaths.h"
#include "scene/EventRouter.h"
#include "scene/Handlers.h"
#include "scene/ProgramState.h"
#include "scene/Scene.h"

#include <functional>
#include <string>
#include <string_view>

namespace tintaro {

// The calls one subsystem makes into another that it may not include. Each
// is filled in by the subsystem that owns the behaviour when the composition
// root registers it; an empty hook does nothing.
struct SceneHooks {
    std::function<void(std::string_view file)> soundEffect; // audio: the request rule
    std::function<void()> restAroundCanvas;                 // feedback: the canvas's share of the faces
    std::function<void()> restPalette;                      // colouring: the twelve palette faces
    std::function<void()> restHighlightedThumbnail;         // gallery: mouse_move_galerija1_bele
    std::function<void()> pause;                            // shell: StartupPause
    std::function<void()> endFromExitConfirmation;          // shell: the way out through Da
};

inline void callHook(const std::function<void()>& hook) {
    if (hook) {
        hook();
    }
}

// What every handler works on: the platform, the shared program state, the
// scene with its handler tables and router, and the hooks between subsystems.
// The window as a whole (with the objects the audio, panels and shell keep)
// is the shell's FormaMain.
class SceneContext {
  public:
    explicit SceneContext(Platform& p)
        : platform(p), scene(p, state.AppPath), router(scene, handlers, p.window) {}
    SceneContext(const SceneContext&) = delete;
    SceneContext& operator=(const SceneContext&) = delete;

    Platform& platform;
    ProgramState state;
    Scene scene;
    HandlerTable handlers;
    EventRouter router;
    SceneHooks hooks;

    // A file of the application directory, by its relative path (AssetPaths.h), as a local path.
    std::string localPath(std::string_view relative) const { return joinPath(state.AppPath, relative); }
};

} // namespace tintaro
