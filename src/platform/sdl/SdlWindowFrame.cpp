// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/SdlWindow.h"

#include <SDL.h>

#include <algorithm>
#include <vector>

// The frame: the program's 1024 x 768 picture kept, and what changed of it
// scaled straight into the window's framebuffer and sent.
namespace tintaro {

bool SdlWindow::takeSurface() {
    // SDL frees the window's surface itself when the size changes.
    m_surface = SDL_GetWindowSurface(m_window);
    if (m_surface == nullptr || m_surface->format->format != SDL_PIXELFORMAT_RGB888) {
        // The scaler writes 0x00RRGGBB, which every true-colour X server
        // and SDL's own framebuffers use.
        m_surface = nullptr;
        return false;
    }
    m_scaler.setSizes(kWidth, kHeight, m_surface->w, m_surface->h, m_surface->pitch / 4);
    return true;
}

void SdlWindow::present(const Image& frame, std::span<const Rect> dirty) {
    if (m_surface == nullptr || m_gone || frame.width != kWidth || frame.height != kHeight ||
        frame.pixels.size() != static_cast<std::size_t>(kWidth) * kHeight) {
        return;
    }
    std::vector<SDL_Rect> sent;
    sent.reserve(dirty.size());
    auto* target = static_cast<std::uint32_t*>(m_surface->pixels);
    for (const Rect& r : dirty) {
        const Rect area = copyArea(frame, m_frame, r);
        if (area.empty()) {
            continue;
        }
        // A part drawn alone gives exactly the pixels of the whole frame, so
        // only the window's pixels that show it change.
        const Rect drawn = m_scaler.draw(m_frame, area, target);
        if (!drawn.empty()) {
            sent.push_back({drawn.x, drawn.y, drawn.w, drawn.h});
        }
    }
    if (!sent.empty()) {
        SDL_UpdateWindowSurfaceRects(m_window, sent.data(), static_cast<int>(sent.size()));
    }
}

void SdlWindow::redraw() {
    if (m_window == nullptr || m_gone) {
        return;
    }
    // After a change of size SDL makes the framebuffer anew.
    if (!takeSurface()) {
        return;
    }
    m_scaler.drawAll(m_frame, static_cast<std::uint32_t*>(m_surface->pixels));
    SDL_UpdateWindowSurface(m_window);
}

} // namespace tintaro
