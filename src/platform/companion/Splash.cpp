// SPDX-License-Identifier: GPL-3.0-or-later
// COLORS.EXE: shows the title artwork in a small borderless window in the
// middle of the screen for three seconds while the colouring book gets ready
// behind it, then ends by itself. It always exits with status 0: the program
// that starts it never looks at the result, and a missing display or picture
// is no reason to complain to a child.

#include "platform/companion/WaylandSplash.h"
#include "platform/pictures/PictureDecoder.h"
#include "platform/pictures/UiPictures.h"
#include "platform/sdl/LeanSdl.h"
#include "platform/sdl/VideoDriver.h"

#include <SDL.h>

#include <cstdlib>

namespace {

constexpr Uint64 kShowMs = 3000;

// False when no window could be made to show the picture in.
bool showSplash() {
    // The picture is compiled in: nothing beside the program can change it.
    auto splash = tintaro::decodePicture(tintaro::splashPicture());
    if (!splash) {
        return true;
    }
    SDL_Surface* picture = SDL_CreateRGBSurfaceWithFormatFrom(
        splash->argb.data(), splash->width, splash->height, 32, splash->width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (picture == nullptr) {
        return true;
    }
    SDL_Window* window = SDL_CreateWindow("Tintaro", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          picture->w, picture->h, SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN);
    SDL_Renderer* renderer =
        window != nullptr ? SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE) : nullptr;
    SDL_Texture* texture = renderer != nullptr ? SDL_CreateTextureFromSurface(renderer, picture) : nullptr;
    SDL_FreeSurface(picture);
    if (texture != nullptr) {
        // In front of everything, with the focus, while the book gets ready.
        SDL_ShowWindow(window);
        SDL_RaiseWindow(window);
        const Uint64 end = SDL_GetTicks64() + kShowMs;
        bool draw = true;
        for (Uint64 now = SDL_GetTicks64(); now < end; now = SDL_GetTicks64()) {
            if (draw) {
                SDL_RenderClear(renderer);
                SDL_RenderCopy(renderer, texture, nullptr, nullptr);
                SDL_RenderPresent(renderer);
                draw = false;
            }
            SDL_Event e;
            if (SDL_WaitEventTimeout(&e, static_cast<int>(end - now)) == 0) {
                continue;
            }
            if (e.type == SDL_QUIT) {
                break;
            }
            if (e.type == SDL_WINDOWEVENT && (e.window.event == SDL_WINDOWEVENT_EXPOSED ||
                                              e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)) {
                draw = true;
            }
        }
        SDL_DestroyTexture(texture);
    }
    if (renderer != nullptr) {
        SDL_DestroyRenderer(renderer);
    }
    if (window != nullptr) {
        SDL_DestroyWindow(window);
    }
    return texture != nullptr;
}

} // namespace

int main() {
    // On a Wayland desktop the splash is a plain client of our own, like the
    // colouring book's window: no GPU driver is loaded for one picture.
    if (tintaro::ownWaylandWindow(std::getenv("SDL_VIDEODRIVER"), std::getenv("WAYLAND_DISPLAY"))) {
        if (auto splash = tintaro::decodePicture(tintaro::splashPicture())) {
            if (tintaro::showWaylandSplash(*splash, static_cast<long long>(kShowMs))) {
                return 0;
            }
        }
    }
    tintaro::setLeanSdlHints();
    // Natively on Wayland the window needs a GPU driver to draw with; without
    // one, XWayland shows it.
    if (tintaro::initVideoOnADisplay() && !showSplash() && tintaro::restartVideoOnFallback()) {
        showSplash();
    }
    // No SDL_Quit: it could read a harmless X error with Xlib's default
    // handler back in place, which exits with status 1 (see SdlPlatform.cpp).
    return 0;
}
