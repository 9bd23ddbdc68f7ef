// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/posix/ExitWatchdog.h"
#include "platform/posix/OutsideRequests.h"
#include "platform/sdl/KeyMap.h"
#include "platform/sdl/LeanSdl.h"
#include "platform/sdl/SdlWindow.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <atomic>

// The wait for events and the translation of SDL's events into the
// program's own.
namespace tintaro {

namespace {

// How soon a hold that another client refused is tried again.
constexpr int kHoldRetryMs = 5;

// The event the exit watchdog sends to wake a wait; it carries nothing.
std::atomic<Uint32> g_wakeEvent{0};

void wakeEventLoop() {
    SDL_Event e{};
    e.type = g_wakeEvent.load();
    SDL_PushEvent(&e);
}

int shiftMask(Uint16 mod) {
    int mask = 0;
    if (mod & KMOD_SHIFT) {
        mask |= kShift;
    }
    if (mod & KMOD_CTRL) {
        mask |= kCtrl;
    }
    if (mod & KMOD_ALT) {
        mask |= kAlt;
    }
    return mask;
}

int buttonOf(Uint8 sdlButton) {
    switch (sdlButton) {
    case SDL_BUTTON_LEFT:
        return kLeftButton;
    case SDL_BUTTON_RIGHT:
        return kRightButton;
    case SDL_BUTTON_MIDDLE:
        return kMiddleButton;
    default:
        return 0;
    }
}

int buttonsHeld(Uint32 state) {
    int mask = 0;
    if (state & SDL_BUTTON_LMASK) {
        mask |= kLeftButton;
    }
    if (state & SDL_BUTTON_RMASK) {
        mask |= kRightButton;
    }
    if (state & SDL_BUTTON_MMASK) {
        mask |= kMiddleButton;
    }
    return mask;
}

} // namespace

void SdlWindow::registerWakeEvent() {
    if (g_wakeEvent.load() == 0) {
        g_wakeEvent.store(SDL_RegisterEvents(1));
    }
}

std::optional<Event> SdlWindow::waitEvent(int timeoutMs) {
    wakeOnOutsideRequests(&wakeEventLoop);
    const Uint64 start = SDL_GetTicks64();
    for (;;) {
        if (takeOutsideRequests([this](const std::string& token) { bringForward(token); })) {
            Event quit;
            quit.type = EventType::Quit;
            return quit;
        }
        keepHold();
        checkFullScreen();
        if (const GuardState now = guardState(); now != m_guard) {
            m_guard = now;
            Event changed;
            changed.type = EventType::GuardChanged;
            changed.guard = now;
            return changed;
        }
        int wait = -1;
        if (timeoutMs >= 0) {
            const Uint64 spent = SDL_GetTicks64() - start;
            wait = spent >= static_cast<Uint64>(timeoutMs) ? 0 : static_cast<int>(timeoutMs - spent);
        }
        const bool watching = m_hold.pending() || m_minimiseDeadline != 0 || m_fullScreenCheck != 0;
        if (watching && (wait < 0 || wait > kHoldRetryMs)) {
            wait = kHoldRetryMs;
        }
        SDL_Event e;
        const int got = wait < 0 ? SDL_WaitEvent(&e) : SDL_WaitEventTimeout(&e, wait);
        if (got == 0) {
            if (timeoutMs >= 0 && SDL_GetTicks64() - start >= static_cast<Uint64>(timeoutMs)) {
                return std::nullopt; // the time is up
            }
            if (!watching && wait < 0) {
                return std::nullopt; // SDL cannot wait at all
            }
            continue;
        }
        // Events the program has no use for do not end the wait.
        if (auto event = translate(e)) {
            return event;
        }
    }
}

std::optional<Event> SdlWindow::translate(const SDL_Event& e) {
    Event out;
    switch (e.type) {
    case SDL_QUIT:
        exitwatchdog::armDeadline();
        out.type = EventType::Quit;
        return out;
    case SDL_SYSWMEVENT:
        if (e.syswm.msg != nullptr && e.syswm.msg->subsystem == SDL_SYSWM_X11 &&
            e.syswm.msg->msg.x11.event.type == DestroyNotify &&
            e.syswm.msg->msg.x11.event.xdestroywindow.window == m_xwindow && m_xwindow != 0) {
            // Gone for good: nothing more is drawn into it, and the end is
            // the system's unload, as for a close request.
            m_gone = true;
            toleratePartsOfALostWindow();
            updateHold();
            exitwatchdog::armDeadline();
            out.type = EventType::Quit;
            return out;
        }
        return std::nullopt;
    case SDL_MOUSEMOTION:
        if (m_minimised) {
            // Nothing of a minimised window is under the pointer.
            return std::nullopt;
        }
        out.type = EventType::MouseMove;
        m_scaler.toFrame(e.motion.x, e.motion.y, out.x, out.y);
        out.buttons = buttonsHeld(e.motion.state);
        out.shift = shiftMask(static_cast<Uint16>(SDL_GetModState()));
        return out;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        out.button = buttonOf(e.button.button);
        if (out.button == 0 || m_minimised) {
            return std::nullopt;
        }
        if (m_lowered && e.type == SDL_MOUSEBUTTONDOWN) {
            // A click on what shows of a lowered window brings it back, and
            // acts as well.
            bringForward("");
        }
        out.type = e.type == SDL_MOUSEBUTTONDOWN ? EventType::MouseDown : EventType::MouseUp;
        m_scaler.toFrame(e.button.x, e.button.y, out.x, out.y);
        out.buttons = buttonsHeld(SDL_GetMouseState(nullptr, nullptr));
        out.shift = shiftMask(static_cast<Uint16>(SDL_GetModState()));
        return out;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        out.key = virtualKeyFor(e.key.keysym.scancode, e.key.keysym.sym);
        if (out.key == 0) {
            return std::nullopt;
        }
        out.type = e.type == SDL_KEYDOWN ? EventType::KeyDown : EventType::KeyUp;
        out.shift = shiftMask(e.key.keysym.mod);
        out.altHeld = (e.key.keysym.mod & KMOD_ALT) != 0;
        return out;
    case SDL_WINDOWEVENT:
        switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            exitwatchdog::armDeadline();
            out.type = EventType::Quit;
            return out;
        case SDL_WINDOWEVENT_MINIMIZED:
            m_minimised = true;
            m_minimiseDeadline = 0;
            updateHold();
            out.type = EventType::Minimised;
            return out;
        case SDL_WINDOWEVENT_RESTORED:
            m_minimised = false;
            updateHold();
            out.type = EventType::Restored;
            return out;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            out.type = EventType::FocusLost;
            return out;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            out.type = EventType::FocusGained;
            return out;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            // The texture still holds the whole frame, so the window is
            // repainted at once; the program may present again as well.
            redraw();
            out.type = EventType::Exposed;
            return out;
        default:
            return std::nullopt;
        }
    default:
        return std::nullopt;
    }
}

} // namespace tintaro
