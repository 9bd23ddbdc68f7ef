// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/posix/ExitWatchdog.h"
#include "platform/posix/OutsideRequests.h"
#include "platform/wayland/Toplevel.h"
#include "platform/wayland/WaylandClient.h"
#include "platform/wayland/WaylandWindow.h"

#include <linux/input-event-codes.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <wayland-client.h>

#include <atomic>
#include <chrono>

// The wait for events, and the seat's pointer, keyboard and touch turned
// into the program's own events.
namespace tintaro {

namespace {

// Wakes a wait from another thread (the exit watchdog, a second start).
std::atomic<int> g_wakeFd{-1};

void wakeEventLoop() {
    const int fd = g_wakeFd.load();
    if (fd >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto written = write(fd, &one, sizeof one);
    }
}

int wakeFd() {
    if (g_wakeFd.load() < 0) {
        int expected = -1;
        const int fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (fd >= 0 && !g_wakeFd.compare_exchange_strong(expected, fd)) {
            close(fd);
        }
    }
    return g_wakeFd.load();
}

void drainWake() {
    std::uint64_t count = 0;
    const int fd = g_wakeFd.load();
    if (fd >= 0) {
        [[maybe_unused]] const auto got = read(fd, &count, sizeof count);
    }
}

int buttonOf(std::uint32_t linuxButton) {
    switch (linuxButton) {
    case BTN_LEFT:
        return kLeftButton;
    case BTN_RIGHT:
        return kRightButton;
    case BTN_MIDDLE:
        return kMiddleButton;
    default:
        return 0;
    }
}

std::int64_t nowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

struct SeatListeners {
    static WaylandWindow* of(void* data) { return static_cast<WaylandWindow*>(data); }

    static void enter(void* data, wl_pointer*, std::uint32_t serial, wl_surface* surface, wl_fixed_t x,
                      wl_fixed_t y) {
        auto* w = of(data);
        if (!w->m_top || surface != w->m_top->surface()) {
            return;
        }
        w->m_pointerSerial = serial;
        w->applyCursor();
        w->pushPointer(EventType::MouseMove, wl_fixed_to_double(x), wl_fixed_to_double(y), 0);
    }
    static void leave(void* data, wl_pointer*, std::uint32_t, wl_surface*) { of(data)->m_pointerSerial = 0; }
    static void motion(void* data, wl_pointer*, std::uint32_t, wl_fixed_t x, wl_fixed_t y) {
        of(data)->pushPointer(EventType::MouseMove, wl_fixed_to_double(x), wl_fixed_to_double(y), 0);
    }
    static void button(void* data, wl_pointer*, std::uint32_t, std::uint32_t, std::uint32_t which,
                       std::uint32_t state) {
        auto* w = of(data);
        const int b = buttonOf(which);
        if (b == 0) {
            return;
        }
        const bool down = state == WL_POINTER_BUTTON_STATE_PRESSED;
        w->m_buttons = down ? (w->m_buttons | b) : (w->m_buttons & ~b);
        w->pushPointer(down ? EventType::MouseDown : EventType::MouseUp, w->m_pointerX, w->m_pointerY, b);
    }
    static void axis(void*, wl_pointer*, std::uint32_t, std::uint32_t, wl_fixed_t) {}
    static void frame(void*, wl_pointer*) {}
    static void axisSource(void*, wl_pointer*, std::uint32_t) {}
    static void axisStop(void*, wl_pointer*, std::uint32_t, std::uint32_t) {}
    static void axisDiscrete(void*, wl_pointer*, std::uint32_t, std::int32_t) {}

    static void keymap(void* data, wl_keyboard*, std::uint32_t format, std::int32_t fd, std::uint32_t size) {
        if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1) {
            of(data)->m_keys.setKeymap(fd, size);
        }
        close(fd);
    }
    static void keyboardEnter(void* data, wl_keyboard*, std::uint32_t, wl_surface* surface, wl_array*) {
        auto* w = of(data);
        w->m_keyboardFocus = w->m_top && surface == w->m_top->surface();
        w->updateGuard();
    }
    static void keyboardLeave(void* data, wl_keyboard*, std::uint32_t, wl_surface*) {
        auto* w = of(data);
        w->m_keyboardFocus = false;
        w->updateGuard();
    }
    static void key(void* data, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t key,
                    std::uint32_t state) {
        auto* w = of(data);
        Event e;
        e.key = w->m_keys.virtualKey(key);
        if (e.key == 0) {
            return;
        }
        // Keys are shortcuts, never typing: a held key is one press, with no
        // repeats of our own making.
        e.type = state == WL_KEYBOARD_KEY_STATE_PRESSED ? EventType::KeyDown : EventType::KeyUp;
        e.shift = w->m_keys.shiftMask();
        e.altHeld = w->m_keys.altHeld();
        w->push(e);
    }
    static void modifiers(void* data, wl_keyboard*, std::uint32_t, std::uint32_t depressed,
                          std::uint32_t latched, std::uint32_t locked, std::uint32_t group) {
        of(data)->m_keys.setModifiers(depressed, latched, locked, group);
    }
    static void repeatInfo(void*, wl_keyboard*, std::int32_t, std::int32_t) {}

    // A touch screen: the first finger down is the left button.
    static void touchDown(void* data, wl_touch*, std::uint32_t, std::uint32_t, wl_surface* surface,
                          std::int32_t id, wl_fixed_t x, wl_fixed_t y) {
        auto* w = of(data);
        if (w->m_touchId >= 0 || !w->m_top || surface != w->m_top->surface()) {
            return;
        }
        w->m_touchId = id;
        w->pushPointer(EventType::MouseMove, wl_fixed_to_double(x), wl_fixed_to_double(y), 0);
        w->m_buttons |= kLeftButton;
        w->pushPointer(EventType::MouseDown, w->m_pointerX, w->m_pointerY, kLeftButton);
    }
    static void touchUp(void* data, wl_touch*, std::uint32_t, std::uint32_t, std::int32_t id) {
        auto* w = of(data);
        if (id != w->m_touchId) {
            return;
        }
        w->m_touchId = -1;
        w->m_buttons &= ~kLeftButton;
        w->pushPointer(EventType::MouseUp, w->m_pointerX, w->m_pointerY, kLeftButton);
    }
    static void touchMotion(void* data, wl_touch*, std::uint32_t, std::int32_t id, wl_fixed_t x,
                            wl_fixed_t y) {
        auto* w = of(data);
        if (id == w->m_touchId) {
            w->pushPointer(EventType::MouseMove, wl_fixed_to_double(x), wl_fixed_to_double(y), 0);
        }
    }
    static void touchFrame(void*, wl_touch*) {}
    static void touchCancel(void* data, wl_touch*) {
        auto* w = of(data);
        if (w->m_touchId >= 0) {
            w->m_touchId = -1;
            w->m_buttons &= ~kLeftButton;
            w->pushPointer(EventType::MouseUp, w->m_pointerX, w->m_pointerY, kLeftButton);
        }
    }
    static void touchShape(void*, wl_touch*, std::int32_t, wl_fixed_t, wl_fixed_t) {}
    static void touchOrientation(void*, wl_touch*, std::int32_t, wl_fixed_t) {}
};

namespace {

constexpr wl_pointer_listener kPointerListener{SeatListeners::enter,        SeatListeners::leave,
                                               SeatListeners::motion,       SeatListeners::button,
                                               SeatListeners::axis,         SeatListeners::frame,
                                               SeatListeners::axisSource,   SeatListeners::axisStop,
                                               SeatListeners::axisDiscrete, SeatListeners::axisDiscrete};
constexpr wl_keyboard_listener kKeyboardListener{SeatListeners::keymap,        SeatListeners::keyboardEnter,
                                                 SeatListeners::keyboardLeave, SeatListeners::key,
                                                 SeatListeners::modifiers,     SeatListeners::repeatInfo};
constexpr wl_touch_listener kTouchListener{SeatListeners::touchDown,       SeatListeners::touchUp,
                                           SeatListeners::touchMotion,     SeatListeners::touchFrame,
                                           SeatListeners::touchCancel,     SeatListeners::touchShape,
                                           SeatListeners::touchOrientation};

} // namespace

void WaylandWindow::seatChanged(std::uint32_t capabilities) {
    wl_seat* seat = m_client.seat();
    const bool pointer = (capabilities & WL_SEAT_CAPABILITY_POINTER) != 0;
    const bool keyboard = (capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
    const bool touch = (capabilities & WL_SEAT_CAPABILITY_TOUCH) != 0;
    if (pointer && m_pointer == nullptr) {
        m_pointer = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(m_pointer, &kPointerListener, this);
    } else if (!pointer && m_pointer != nullptr) {
        wl_pointer_release(m_pointer);
        m_pointer = nullptr;
        m_pointerSerial = 0;
    }
    if (keyboard && m_keyboard == nullptr) {
        m_keyboard = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(m_keyboard, &kKeyboardListener, this);
    } else if (!keyboard && m_keyboard != nullptr) {
        wl_keyboard_release(m_keyboard);
        m_keyboard = nullptr;
        m_keyboardFocus = false;
    }
    if (touch && m_touch == nullptr) {
        m_touch = wl_seat_get_touch(seat);
        wl_touch_add_listener(m_touch, &kTouchListener, this);
    } else if (!touch && m_touch != nullptr) {
        wl_touch_release(m_touch);
        m_touch = nullptr;
        m_touchId = -1;
    }
}

void WaylandWindow::pushPointer(EventType type, double surfaceX, double surfaceY, int button) {
    m_pointerX = surfaceX;
    m_pointerY = surfaceY;
    if (!m_shown) {
        return;
    }
    Event e;
    e.type = type;
    m_scaler.toFrame(surfaceX * m_scale, surfaceY * m_scale, e.x, e.y);
    e.button = button;
    e.buttons = m_buttons;
    e.shift = m_keys.shiftMask();
    push(e);
}

std::optional<Event> WaylandWindow::waitEvent(int timeoutMs) {
    wakeOnOutsideRequests(&wakeEventLoop);
    const int wake = wakeFd();
    const std::int64_t start = nowMs();
    for (;;) {
        if (takeOutsideRequests([this](const std::string& token) { bringForward(token); })) {
            Event quit;
            quit.type = EventType::Quit;
            return quit;
        }
        if (!m_events.empty()) {
            const Event next = m_events.front();
            m_events.pop_front();
            if (next.type == EventType::Quit) {
                exitwatchdog::armDeadline();
            }
            return next;
        }
        int wait = -1;
        if (timeoutMs >= 0) {
            const std::int64_t spent = nowMs() - start;
            if (spent >= timeoutMs) {
                return std::nullopt; // the time is up
            }
            wait = static_cast<int>(timeoutMs - spent);
        }
        if (m_gone) {
            // Nothing more comes from the compositor; the wake still ends
            // the wait for a signal's request.
            pollfd only{wake, POLLIN, 0};
            poll(&only, wake >= 0 ? 1 : 0, wait);
            drainWake();
            continue;
        }
        if (!m_client.dispatch(wait, wake)) {
            // The compositor is gone (the session ended): the end is the
            // system's unload, as for a close request.
            m_gone = true;
            Event quit;
            quit.type = EventType::Quit;
            push(quit);
        }
        drainWake();
    }
}

} // namespace tintaro
