// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/EventLoop.h"

#include "feedback/HoverFaces.h"
#include "shell/HookModule.h"
#include "shell/Shutdown.h"

#include <algorithm>
#include <cmath>

namespace tintaro {

namespace {

constexpr double kPauseSeconds = 3.0;

void runTimerIfDue(FormaMain& f) {
    auto& scene = f.scene;
    if (!scene.timerEnabled) {
        return;
    }
    const double now = f.platform.clock.monotonicSeconds();
    if (now < scene.timerDue) {
        return;
    }
    // A late tick is not made up for: the next one comes a full interval later.
    scene.timerDue += kRepeatInterval;
    if (scene.timerDue <= now) {
        scene.timerDue = now + kRepeatInterval;
    }
    if (f.handlers.timer) {
        f.handlers.timer();
    }
}

} // namespace

void dispatchEvent(FormaMain& f, const Event& event) {
    switch (event.type) {
    case EventType::Quit:
        unloadedBySystem(f);
        break;
    case EventType::KeyDown:
    case EventType::KeyUp:
        if (!swallowedByGuard(f, event) && event.type == EventType::KeyDown) {
            f.router.route(event);
        }
        break;
    case EventType::Exposed:
        f.scene.invalidateAll();
        break;
    case EventType::GuardChanged:
        f.guard = event.guard;
        break;
    case EventType::Restored:
        f.scene.invalidateAll();
        restWebButtons(f);
        break;
    case EventType::FocusGained:
        restWebButtons(f);
        f.router.route(event);
        break;
    default:
        f.router.route(event);
        break;
    }
}

void deliverEvents(FormaMain& f, double until) {
    auto& clock = f.platform.clock;
    for (;;) {
        const double now = clock.monotonicSeconds();
        if (until >= 0 && now >= until) {
            return;
        }
        double wake = until;
        if (f.scene.timerEnabled) {
            wake = wake < 0 ? f.scene.timerDue : std::min(wake, f.scene.timerDue);
        }
        const int timeout = wake < 0 ? -1 : static_cast<int>(std::ceil(std::max(0.0, wake - now) * 1000.0));
        if (auto event = f.platform.window.waitEvent(timeout)) {
            dispatchEvent(f, *event);
        }
        runTimerIfDue(f);
        f.scene.present();
    }
}

void StartupPause(FormaMain& f) {
    deliverEvents(f, f.platform.clock.monotonicSeconds() + kPauseSeconds);
}

} // namespace tintaro
