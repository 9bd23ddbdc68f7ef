#include "shell/HookModule.h"

#include "shell/Shutdown.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tintaro {

namespace {

constexpr std::uint32_t kShiftKey = 16;
constexpr std::uint32_t kAltKey = 18;
constexpr std::uint32_t kLeftWindowsKey = 91;
constexpr std::uint32_t kRightWindowsKey = 92;
constexpr std::uint32_t kMenuKey = 93;
constexpr double kPauseSeconds = 3.0;
constexpr double kTimerInterval = 0.5;

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
    case EventType::Restored:
        f.scene.invalidateAll();
        break;
    default:
        f.router.route(event);
        break;
    }
}

namespace {

void runTimerIfDue(FormaMain& f) {
    if (!f.scene.timerEnabled) {
        return;
    }
    const double now = f.platform.clock.monotonicSeconds();
    if (now < f.timerDue) {
        return;
    }
    // A late tick is not made up for: the next one comes a full interval later.
    f.timerDue += kTimerInterval;
    if (f.timerDue <= now) {
        f.timerDue = now + kTimerInterval;
    }
    if (f.handlers.timer) {
        f.handlers.timer();
    }
}

} // namespace

std::int32_t LowLevelKeyFilter(ProgramState& state, std::int32_t code, std::int32_t message,
                               const KeyRecord& event) {
    bool swallow = false;
    if (code == 0 && (message == kKeyDownMessage || message == kSysKeyDownMessage ||
                      message == kKeyUpMessage || message == kSysKeyUpMessage)) {
        static_assert(sizeof(KeyRecord) == 20);
        std::memcpy(state.KeyEventCopy.data(), &event, sizeof event);
        const auto k = event.vkCode;
        swallow = (event.flags & kAltFlag) != 0 || k == kMenuKey || k == kRightWindowsKey ||
                  k == kLeftWindowsKey || k == kAltKey || k == kShiftKey;
    }
    return swallow ? -1 : 0;
}

bool swallowedByGuard(FormaMain& f, const Event& event) {
    if (f.state.KeyboardHookHandle == 0) {
        return false;
    }
    KeyRecord record;
    record.vkCode = static_cast<std::uint32_t>(event.key);
    record.flags = event.altHeld ? kAltFlag : 0;
    const bool down = event.type == EventType::KeyDown;
    const std::int32_t message = event.altHeld ? (down ? kSysKeyDownMessage : kSysKeyUpMessage)
                                               : (down ? kKeyDownMessage : kKeyUpMessage);
    return LowLevelKeyFilter(f.state, 0, message, record) != 0;
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
            wake = wake < 0 ? f.timerDue : std::min(wake, f.timerDue);
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
