// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/XWaylandGrab.h"

#include "platform/sdl/X11WindowManager.h"

#include <X11/Xlib.h>

namespace tintaro {

void allowXWaylandKeyboardGrab(SDL_Window* window) {
    const auto x11 = x11WindowOf(window);
    if (!x11) {
        return;
    }
    Display* display = x11->display;
    const Atom mayGrab = XInternAtom(display, "_XWAYLAND_MAY_GRAB_KEYBOARD", False);
    if (mayGrab == None) {
        return;
    }
    // Mutter reads the window the grab will be on and a non-zero first value.
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = x11->window;
    message.xclient.message_type = mayGrab;
    message.xclient.format = 32;
    message.xclient.data.l[0] = 1;
    message.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureNotifyMask | SubstructureRedirectMask,
               &message);
    XFlush(display);
}

} // namespace tintaro
