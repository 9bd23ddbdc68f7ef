// SPDX-License-Identifier: GPL-3.0-or-later
// The frame as the program's own scaler draws it against the picture SDL's
// software renderer made of it before (linear filtering, letterboxed by a
// logical size): a family that upgrades sees the same screen.

#include "platform/FrameScaler.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

using namespace tintaro;

namespace {

// What SDL 2's software renderer shows of `frame` in a window of w x h.
std::vector<std::uint32_t> sdlPicture(const Image& frame, int w, int h) {
    std::vector<std::uint32_t> out(static_cast<std::size_t>(w) * h);
    SDL_Surface* target =
        SDL_CreateRGBSurfaceWithFormatFrom(out.data(), w, h, 32, w * 4, SDL_PIXELFORMAT_RGB888);
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(target);
    SDL_RenderSetLogicalSize(renderer, frame.width, frame.height);
    SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_XBGR8888, SDL_TEXTUREACCESS_STREAMING,
                                             frame.width, frame.height);
    SDL_SetTextureScaleMode(texture, SDL_ScaleModeLinear);
    SDL_UpdateTexture(texture, nullptr, frame.pixels.data(), frame.width * 4);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    SDL_RenderPresent(renderer);
    SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(target);
    for (auto& p : out) {
        p &= 0xFFFFFF;
    }
    return out;
}

int channelGap(std::uint32_t a, std::uint32_t b) {
    int gap = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        gap = std::max(
            gap, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    }
    return gap;
}

TEST(FrameScaler, DrawsWhatSdlsRendererDrew) {
    Image frame(1024, 768);
    std::mt19937 random(7);
    // Flat areas with hard edges, as the colouring screen has, and a band of
    // noise, the hardest case for any filter.
    for (int y = 0; y < 768; ++y) {
        for (int x = 0; x < 1024; ++x) {
            const bool noisy = y >= 300 && y < 340;
            frame.at(x, y) =
                noisy ? (random() & 0xFFFFFF) : rgb(((x / 37) * 53) & 0xFF, ((y / 29) * 71) & 0xFF, 200);
        }
    }
    const struct { int w, h; } sizes[] = {{1920, 1080}, {3840, 2160}, {1280, 1024}, {1366, 768}, {1024, 768}};
    for (const auto& size : sizes) {
        FrameScaler scaler;
        scaler.setSizes(1024, 768, size.w, size.h);
        std::vector<std::uint32_t> ours(static_cast<std::size_t>(size.w) * size.h);
        scaler.drawAll(frame, ours.data());
        const auto theirs = sdlPicture(frame, size.w, size.h);
        // SDL steps through the source a little differently on a few rows
        // and columns (a 128th of a pixel), which moves a sharp edge there
        // by a level or two: those stay rare and small.
        int worst = 0;
        std::size_t apart = 0;
        for (std::size_t i = 0; i < ours.size(); ++i) {
            const int gap = channelGap(ours[i], theirs[i]);
            worst = std::max(worst, gap);
            apart += gap > 1 ? 1 : 0;
        }
        EXPECT_LE(worst, 3) << size.w << "x" << size.h;
        EXPECT_LE(apart * 1000, ours.size())
            << size.w << "x" << size.h << ": " << apart << " pixels more than a level apart";
    }
}

} // namespace
