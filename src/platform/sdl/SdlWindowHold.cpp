// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/SdlWindow.h"
#include "platform/sdl/XWaylandGrab.h"

#include <SDL.h>
#include <SDL_syswm.h>

// The keyboard guard's hold as the window's state changes: where it is
// wanted (the window, the keeper or nowhere) and taking it back whenever
// SDL lets go of it.
namespace tintaro {

KeyboardHold::Place SdlWindow::holdPlace() const {
    if (!m_keyboardWanted || m_windowed || m_gone) {
        return KeyboardHold::Place::Nowhere;
    }
    if (m_minimised || m_minimiseDeadline != 0 || m_lowered) {
        return KeyboardHold::Place::Nowhere;
    }
    return m_shown ? KeyboardHold::Place::Window : KeyboardHold::Place::Keeper;
}

GuardState SdlWindow::guardState() const {
    if (m_window == nullptr || holdPlace() == KeyboardHold::Place::Nowhere) {
        return GuardState::NotHeld;
    }
    if (m_xwindow == 0) {
        return GuardState::Asked;
    }
    return m_hold.held() ? GuardState::Held : GuardState::Asked;
}

void SdlWindow::updateHold() {
    const KeyboardHold::Place place = holdPlace();
    const bool sdlGrab = place != KeyboardHold::Place::Nowhere;
    m_hold.want(place);
    if (m_window != nullptr && sdlGrab != m_sdlGrab) {
        // With its flag set, SDL grabs the window itself wherever it would
        // otherwise let go of the keyboard while the window has the focus.
        // Setting the flag without the focus lets go: take the hold back.
        m_sdlGrab = sdlGrab;
        if (sdlGrab) {
            allowXWaylandKeyboardGrab(m_window);
        }
        SDL_SetWindowKeyboardGrab(m_window, sdlGrab ? SDL_TRUE : SDL_FALSE);
        m_hold.renew();
    }
}

void SdlWindow::keepHold() {
    if (m_minimiseDeadline != 0 && SDL_GetTicks64() >= m_minimiseDeadline) {
        // The request was not honoured: the window is still in front.
        m_minimiseDeadline = 0;
        updateHold();
    }
    if (m_hold.pending()) {
        m_hold.retry();
    }
}

// SDL updates its own grab when the window gains or loses the focus, when
// it is mapped and when a mouse button is released: with the focus it grabs
// the window (its flag is set), without it lets go of the keyboard
// (XUngrabKeyboard), whatever held it. A watch runs as SDL queues an event,
// still inside SDL's reading of the X events, and takes the hold back at
// once: the end of a grab shows as a focus event in "ungrab" mode on the
// window that held it, and a change of focus as SDL's own event.
int SdlWindow::watchGrab(void* self, SDL_Event* e) {
    auto* window = static_cast<SdlWindow*>(self);
    if (e->type == SDL_WINDOWEVENT) {
        if (e->window.event == SDL_WINDOWEVENT_FOCUS_LOST ||
            e->window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
            window->m_hold.renew();
        }
    } else if (e->type == SDL_SYSWMEVENT && e->syswm.msg != nullptr &&
               e->syswm.msg->subsystem == SDL_SYSWM_X11) {
        const XEvent& x = e->syswm.msg->msg.x11.event;
        if ((x.type == FocusIn || x.type == FocusOut) && x.xfocus.mode == NotifyUngrab) {
            window->m_hold.renew();
        }
    }
    return 0;
}

void SdlWindow::holdKeyboard(bool wanted) {
    m_keyboardWanted = wanted;
    if (!wanted) {
        m_earlyHold.close();
    }
    updateHold();
}

} // namespace tintaro
