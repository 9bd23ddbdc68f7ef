// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <memory>
#include <span>

struct SDL_Surface;

namespace tintaro {

struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const;
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// A picture file's bytes as a 32-bit surface that keeps its transparency,
// for cursors and the window's icon; null when the picture is refused.
SurfacePtr decodeSurface(std::span<const std::uint8_t> bytes);

} // namespace tintaro
