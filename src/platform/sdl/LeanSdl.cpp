#include "platform/sdl/LeanSdl.h"

#include <SDL.h>
#include <X11/Xlib.h>

#include <cstdlib>
#include <cstring>

namespace tintaro {

void setLeanSdlHints() {
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

} // namespace

void toleratePartsOfALostWindow() {
    g_windowLost = true;
}

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
        g_previousXErrorHandler = XSetErrorHandler(tolerateGoneWindows);
    }
    return true;
}

} // namespace tintaro
