// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/SdlSurface.h"

#include "platform/pictures/PictureDecoder.h"

#include <SDL.h>

#include <cstring>

namespace tintaro {

void SurfaceDeleter::operator()(SDL_Surface* s) const {
    SDL_FreeSurface(s);
}

// The decoder refuses damaged and oversized pictures before allocating anything.
SurfacePtr decodeSurface(std::span<const std::uint8_t> bytes) {
    const auto picture = decodePicture(bytes);
    if (!picture) {
        return nullptr;
    }
    SurfacePtr surface(
        SDL_CreateRGBSurfaceWithFormat(0, picture->width, picture->height, 32, SDL_PIXELFORMAT_ARGB8888));
    if (!surface) {
        return nullptr;
    }
    for (int y = 0; y < picture->height; ++y) {
        std::memcpy(static_cast<std::uint8_t*>(surface->pixels) +
                        static_cast<std::size_t>(y) * surface->pitch,
                    &picture->argb[static_cast<std::size_t>(y) * picture->width],
                    static_cast<std::size_t>(picture->width) * 4);
    }
    return surface;
}

} // namespace tintaro
