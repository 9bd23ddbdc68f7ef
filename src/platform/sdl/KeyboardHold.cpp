// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/KeyboardHold.h"

#include "platform/sdl/X11WindowManager.h"

#include <X11/Xlib.h>

#include <chrono>
#include <thread>

namespace tintaro {

namespace {

// Another client's grab usually lasts one round trip (a key binding of the
// window manager, a probe); a transition waits that long before it gives up
// and leaves the retry to the event loop.
constexpr int kPatientAttempts = 20;
constexpr auto kPatientPause = std::chrono::microseconds(500);

unsigned long createKeeper(Display* display) {
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    const Window keeper = XCreateWindow(display, DefaultRootWindow(display), -10, -10, 1, 1, 0, 0, InputOnly,
                                        CopyFromParent, CWOverrideRedirect, &attributes);
    if (keeper != 0) {
        XMapWindow(display, keeper);
    }
    return keeper;
}

int grabPatiently(Display* display, unsigned long window, bool patient) {
    int status = GrabSuccess;
    for (int attempt = 0;; ++attempt) {
        status = XGrabKeyboard(display, window, True, GrabModeAsync, GrabModeAsync, CurrentTime);
        if (status != AlreadyGrabbed && status != GrabFrozen) {
            return status;
        }
        if (!patient || attempt + 1 >= kPatientAttempts) {
            return status;
        }
        std::this_thread::sleep_for(kPatientPause);
    }
}

} // namespace

KeyboardHold::~KeyboardHold() {
    detach();
}

bool KeyboardHold::attach(Display* display, unsigned long window) {
    detach();
    if (display == nullptr || window == 0) {
        return false;
    }
    m_display = display;
    m_window = window;
    m_keeper = createKeeper(display);
    if (m_keeper != 0) {
        // The end of a grab held on the keeper shows as a focus event there.
        XSelectInput(display, m_keeper, FocusChangeMask);
    }
    // Mapped before anyone asks for a grab on it.
    XSync(display, False);
    return true;
}

void KeyboardHold::detach() {
    if (m_display == nullptr) {
        return;
    }
    want(Place::Nowhere);
    if (m_keeper != 0) {
        XDestroyWindow(m_display, m_keeper);
        m_keeper = 0;
    }
    XFlush(m_display);
    m_display = nullptr;
    m_window = 0;
    m_wanted = m_held = Place::Nowhere;
}

void KeyboardHold::want(Place place) {
    m_wanted = place;
    if (m_display == nullptr) {
        return;
    }
    if (place == Place::Nowhere) {
        if (m_held != Place::Nowhere) {
            XUngrabKeyboard(m_display, CurrentTime);
            XFlush(m_display);
            m_held = Place::Nowhere;
        }
        return;
    }
    if (m_held != place) {
        grabOn(place, true);
    }
}

void KeyboardHold::renew() {
    m_held = Place::Nowhere;
    if (m_display != nullptr && m_wanted != Place::Nowhere) {
        grabOn(m_wanted, true);
    }
}

void KeyboardHold::retry() {
    if (m_display != nullptr && m_wanted != Place::Nowhere && m_held != m_wanted) {
        grabOn(m_wanted, false);
    }
}

bool KeyboardHold::grabOn(Place place, bool patient) {
    const unsigned long target = place == Place::Window ? m_window : m_keeper;
    if (target == 0) {
        return false;
    }
    const int status = grabPatiently(m_display, target, patient);
    if (status == GrabSuccess) {
        m_held = place;
        return true;
    }
    // A window that is shown but not yet viewable (a window manager maps its
    // frame after the window): the keeper holds on until it is.
    if (status == GrabNotViewable && place == Place::Window && m_held != Place::Keeper) {
        grabOn(Place::Keeper, patient);
    }
    return false;
}

bool KeyboardHold::windowManaged() const {
    return m_display != nullptr && windowManagerRuns(m_display);
}

bool EarlyKeyboardHold::take() {
    close();
    m_display = XOpenDisplay(nullptr);
    if (m_display == nullptr) {
        return false;
    }
    const unsigned long keeper = createKeeper(m_display);
    if (keeper == 0 || grabPatiently(m_display, keeper, true) != GrabSuccess) {
        close();
        return false;
    }
    return true;
}

void EarlyKeyboardHold::handOver() {
    if (m_display != nullptr) {
        // Done when the round trip returns, so the next grab of the
        // program's own connection meets a free keyboard.
        XUngrabKeyboard(m_display, CurrentTime);
        XSync(m_display, False);
    }
}

void EarlyKeyboardHold::close() {
    if (m_display != nullptr) {
        // The keeper goes with the connection.
        XCloseDisplay(m_display);
        m_display = nullptr;
    }
}

} // namespace tintaro
