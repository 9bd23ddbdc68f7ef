// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/X11WindowManager.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>

namespace tintaro {

std::optional<X11Window> x11WindowOf(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || SDL_GetWindowWMInfo(window, &info) != SDL_TRUE ||
        info.subsystem != SDL_SYSWM_X11) {
        return std::nullopt;
    }
    return X11Window{info.info.x11.display, info.info.x11.window};
}

bool askFullScreen(SDL_Window* window, bool on) {
    const auto x11 = x11WindowOf(window);
    if (!x11) {
        return false;
    }
    Display* display = x11->display;
    const Window xwindow = x11->window;
    // A window of fixed size would not be given the screen by some window
    // managers: its size limits go while it is full screen.
    if (XSizeHints* hints = XAllocSizeHints()) {
        long supplied = 0;
        XGetWMNormalHints(display, xwindow, hints, &supplied);
        if (on) {
            hints->flags &= ~(PMinSize | PMaxSize);
        } else {
            int w = 0, h = 0;
            SDL_GetWindowSize(window, &w, &h);
            hints->flags |= PMinSize | PMaxSize;
            hints->min_width = hints->max_width = w;
            hints->min_height = hints->max_height = h;
        }
        XSetWMNormalHints(display, xwindow, hints);
        XFree(hints);
    }
    constexpr long kRemove = 0, kAdd = 1;
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = xwindow;
    e.xclient.message_type = XInternAtom(display, "_NET_WM_STATE", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = on ? kAdd : kRemove;
    e.xclient.data.l[1] = static_cast<long>(XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False));
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureNotifyMask | SubstructureRedirectMask,
               &e);
    XFlush(display);
    return true;
}

bool windowManagerRuns(Display* display) {
    char selection[32];
    std::snprintf(selection, sizeof selection, "WM_S%d", DefaultScreen(display));
    if (XGetSelectionOwner(display, XInternAtom(display, selection, False)) != None) {
        return true;
    }
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None) {
        return false;
    }
    Atom type = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const bool found = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW,
                                          &type, &format, &items, &after, &data) == Success &&
                       items == 1;
    if (data != nullptr) {
        XFree(data);
    }
    return found;
}

bool windowManagedOnX11(SDL_Window* window) {
    const auto x11 = x11WindowOf(window);
    return x11 && windowManagerRuns(x11->display);
}

void lowerX11Window(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || SDL_GetWindowWMInfo(window, &info) != SDL_TRUE ||
        info.subsystem != SDL_SYSWM_X11) {
        return;
    }
    XLowerWindow(info.info.x11.display, info.info.x11.window);
    XFlush(info.info.x11.display);
}

} // namespace tintaro
