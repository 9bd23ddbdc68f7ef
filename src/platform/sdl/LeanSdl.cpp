#include "platform/sdl/LeanSdl.h"

#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>

#include <cstdlib>
#include <cstring>
#include <utility>

namespace tintaro {

void setLeanSdlHints() {
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    // A compositor only adds a frame of latency to a window that is full screen.
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "1");
    // Alt+Tab must not minimise the window while it holds the keyboard.
    SDL_SetHint(SDL_HINT_ALLOW_ALT_TAB_WHILE_GRABBED, "0");
    // Desktops match a window to its menu entry (icon, name, remembered
    // permissions) by the X window class or the Wayland app id; the splash
    // belongs to the same entry. SDL 2.26 reads these from the environment
    // only, never as hints; only SDL programs look at them.
    SDL_setenv("SDL_VIDEO_X11_WMCLASS", "tintaro", 1);
    SDL_setenv("SDL_VIDEO_WAYLAND_WMCLASS", "tintaro", 1);
}

namespace {

XErrorHandler g_previousXErrorHandler = nullptr;

// SDL 2.26 wakes its own event wait by sending a message to the window over a
// second X connection. When the window is destroyed right after (a close
// request answered at once), the X server may see the destruction first and
// answer the message with BadWindow; Xlib's default handler would end the
// whole process with status 1 whenever that answer is read. That one error is
// harmless. (SDL_Quit puts the default handler back before it closes the
// connection, so the program never calls it; see SdlPlatform.cpp.)
int tolerateLateWakeups(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow && error->request_code == X_SendEvent) {
        return 0;
    }
    return g_previousXErrorHandler != nullptr ? g_previousXErrorHandler(display, error) : 0;
}

} // namespace

bool initVideoOnADisplay() {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        return false;
    }
    const char* requested = std::getenv("SDL_VIDEODRIVER");
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool invisible =
        driver != nullptr && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
    if (invisible && (requested == nullptr || requested[0] == '\0')) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    if (driver != nullptr && std::strcmp(driver, "x11") == 0 && g_previousXErrorHandler == nullptr) {
        g_previousXErrorHandler = XSetErrorHandler(tolerateLateWakeups);
    }
    return true;
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
