// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/SdlWindow.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <vector>

// The frame: the program's 1024 x 768 picture copied into the window's
// texture and shown, scaled or not.
namespace tintaro {

void SdlWindow::present(const Image& frame, std::span<const Rect> dirty) {
    if (m_texture == nullptr || m_gone || frame.width != kWidth || frame.height != kHeight ||
        frame.pixels.size() != static_cast<std::size_t>(kWidth) * kHeight) {
        return;
    }
    std::vector<SDL_Rect> areas;
    areas.reserve(dirty.size());
    for (const Rect& r : dirty) {
        const int x0 = std::max(r.x, 0);
        const int y0 = std::max(r.y, 0);
        const int x1 = std::min(r.x + r.w, kWidth);
        const int y1 = std::min(r.y + r.h, kHeight);
        if (x0 >= x1 || y0 >= y1) {
            continue;
        }
        const SDL_Rect area{x0, y0, x1 - x0, y1 - y0};
        void* pixels = nullptr;
        int pitch = 0;
        if (SDL_LockTexture(m_texture, &area, &pixels, &pitch) != 0) {
            continue;
        }
        // The texture has the Colour layout, so each row is one copy.
        auto* dst = static_cast<std::uint8_t*>(pixels);
        const std::size_t rowBytes = static_cast<std::size_t>(area.w) * sizeof(Colour);
        for (int y = y0; y < y1; ++y, dst += pitch) {
            std::memcpy(dst, &frame.pixels[static_cast<std::size_t>(y) * kWidth + x0], rowBytes);
        }
        SDL_UnlockTexture(m_texture);
        areas.push_back(area);
    }
    if (areas.empty()) {
        return;
    }
    float scaleX = 0;
    float scaleY = 0;
    SDL_RenderGetScale(m_renderer, &scaleX, &scaleY);
    if (scaleX != 1.0f || scaleY != 1.0f) {
        // Scaled, a part drawn alone is sampled differently from the whole
        // frame and would show seams, so the whole frame is drawn again.
        redraw();
        return;
    }
    // Unscaled (the screen is the layout's size, perhaps with bars), only the
    // changed parts are copied to the window: exactly what the whole frame gives.
    for (const SDL_Rect& area : areas) {
        SDL_RenderCopy(m_renderer, m_texture, &area, &area);
    }
    SDL_RenderPresent(m_renderer);
}

void SdlWindow::redraw() {
    if (m_renderer == nullptr || m_texture == nullptr) {
        return;
    }
    SDL_RenderClear(m_renderer);
    SDL_RenderCopy(m_renderer, m_texture, nullptr, nullptr);
    SDL_RenderPresent(m_renderer);
}

} // namespace tintaro
