// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/LeanSdl.h"

#include "platform/sdl/VideoDriver.h"

#include <SDL.h>
#include <X11/Xlib.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

namespace tintaro {

void setLeanSdlHints() {
    // On X11 the window framebuffer is plain shared memory; this keeps it so.
    // SDL 2.26's Wayland driver has no framebuffer of its own, so there the
    // hint is lifted once the driver is known (see useDriver below).
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    // A compositor only adds a frame of latency to a window that is full screen.
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "1");
    // Alt+Tab must not minimise the window while it holds the keyboard.
    SDL_SetHint(SDL_HINT_ALLOW_ALT_TAB_WHILE_GRABBED, "0");
}

namespace {

XErrorHandler g_previousXErrorHandler = nullptr;
bool g_windowLost = false;

// Xlib's default handler prints the error and ends the whole process with
// status 1. Two kinds are harmless here, and both name a window that is gone:
// - SDL 2.26 wakes its own event wait by sending a message to the window over
//   a second X connection; when the window is destroyed right after (a close
//   request answered at once), the server may answer with BadWindow;
// - a window destroyed by another client (xdotool windowclose) stays in
//   SDL's hands until the program has seen the DestroyNotify and ended:
//   drawing into it (X_ShmPutImage) answers BadDrawable, and once it is
//   known lost, taking SDL's part of it down answers BadWindow, BadGC and
//   the like, none of which matters to a program on its way out.
// (SDL_Quit puts the default handler back before it closes the connection,
// so the program never calls it; see SdlPlatform.cpp.)
int tolerateGoneWindows(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow || error->error_code == BadDrawable || g_windowLost) {
        return 0;
    }
    return g_previousXErrorHandler != nullptr ? g_previousXErrorHandler(display, error) : 0;
}

bool isDriver(const char* name) {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr && std::strcmp(driver, name) == 0;
}

// What each driver needs once it runs.
bool useDriver() {
    const char* requested = std::getenv("SDL_VIDEODRIVER");
    const bool invisible = isDriver("offscreen") || isDriver("dummy");
    if (invisible && (requested == nullptr || requested[0] == '\0')) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    // The software renderer draws into the window's framebuffer; on Wayland
    // SDL can only make that a texture of a GPU renderer (Mesa's software
    // rasteriser where there is no GPU).
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, isDriver("wayland") ? "1" : "0");
    if (isDriver("x11") && g_previousXErrorHandler == nullptr) {
        g_previousXErrorHandler = XSetErrorHandler(tolerateGoneWindows);
    }
    return true;
}

bool startDriver(const char* name) {
    if (name != nullptr) {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, name);
    }
    return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

} // namespace

void toleratePartsOfALostWindow() {
    g_windowLost = true;
}

bool initVideoOnADisplay() {
    const char* requested = std::getenv("SDL_VIDEODRIVER");
    const char* first = firstVideoDriver(requested, std::getenv("WAYLAND_DISPLAY"));
    if (startDriver(first)) {
        return useDriver();
    }
    // Wayland was asked for and did not start: X11 is the session's other way.
    const char* fallback =
        first != nullptr ? fallbackVideoDriver(first, requested, std::getenv("DISPLAY")) : nullptr;
    return fallback != nullptr && startDriver(fallback) && useDriver();
}

bool restartVideoOnFallback() {
    const char* fallback = fallbackVideoDriver(SDL_GetCurrentVideoDriver(), std::getenv("SDL_VIDEODRIVER"),
                                               std::getenv("DISPLAY"));
    if (fallback == nullptr) {
        return false;
    }
    // The display was opened early at start-up and again by the window, and
    // SDL counts each start: the driver only stops when every one is undone.
    for (int starts = 0; starts < 8 && SDL_WasInit(SDL_INIT_VIDEO) != 0; ++starts) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    return startDriver(fallback) && useDriver();
}

namespace {

const char* setting(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0' ? value : nullptr;
}

} // namespace

std::string openDisplay() {
    const char* x11 = setting("DISPLAY");
    const char* wayland = setting("WAYLAND_DISPLAY");
    if (x11 == nullptr && wayland == nullptr && setting("SDL_VIDEODRIVER") == nullptr) {
        return "no display to show the colouring book on (neither DISPLAY nor WAYLAND_DISPLAY is set); "
               "start it from a desktop session";
    }
    setLeanSdlHints();
    if (initVideoOnADisplay()) {
        return {};
    }
    std::string named;
    for (const auto& [name, value] : {std::pair{"WAYLAND_DISPLAY", wayland}, std::pair{"DISPLAY", x11}}) {
        if (value != nullptr) {
            named += (named.empty() ? " (" : ", ") + std::string(name) + "=" + value;
        }
    }
    return "cannot open the display" + (named.empty() ? named : named + ")") +
           "; is the desktop session still running?";
}

} // namespace tintaro
