#include "platform/sdl/XWaylandGrab.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

namespace tintaro {

void allowXWaylandKeyboardGrab(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || SDL_GetWindowWMInfo(window, &info) != SDL_TRUE ||
        info.subsystem != SDL_SYSWM_X11) {
        return;
    }
    Display* display = info.info.x11.display;
    const Atom mayGrab = XInternAtom(display, "_XWAYLAND_MAY_GRAB_KEYBOARD", False);
    if (mayGrab == None) {
        return;
    }
    // Mutter reads the window the grab will be on and a non-zero first value.
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = info.info.x11.window;
    message.xclient.message_type = mayGrab;
    message.xclient.format = 32;
    message.xclient.data.l[0] = 1;
    message.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureNotifyMask | SubstructureRedirectMask,
               &message);
    XFlush(display);
}

} // namespace tintaro
