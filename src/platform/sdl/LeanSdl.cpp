#include "platform/sdl/LeanSdl.h"

#include <SDL.h>

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
    return true;
}

} // namespace tintaro
